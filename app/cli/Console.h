// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The console the command line talks to. The program's texts are UTF-8, and
// so must its arguments be: Windows hands main() its arguments in the
// system's narrow code page, so a file in C:\Users\张伟\ would not be found,
// and prints to its console in that code page unless told otherwise.
#include <string>
#include <vector>

// Makes the console show and take UTF-8 (nothing to do on Linux).
void PrepareConsole();

// The command line's arguments, the program's name first, as UTF-8.
std::vector<std::string> CommandLineArguments(int argc, char** argv);

// The arguments in the shape main() and the parser take, kept alive here.
class TUtf8Arguments {
public:
    TUtf8Arguments(int argc, char** argv) : texts_(CommandLineArguments(argc, argv))
    {
        for (std::string& text : texts_)
            pointers_.push_back(text.data());
        pointers_.push_back(nullptr);
    }
    int argc() const { return static_cast<int>(texts_.size()); }
    char** argv() { return pointers_.data(); }

private:
    std::vector<std::string> texts_;
    std::vector<char*> pointers_;
};
