// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A pseudo-terminal in raw mode, the simulated radio's end of the cable.
// The program opens the other end, the slave device, as its serial port.
#include <string>

class PseudoTerminal {
public:
    PseudoTerminal() = default;
    ~PseudoTerminal() { Close(); }
    PseudoTerminal(const PseudoTerminal&) = delete;
    PseudoTerminal& operator=(const PseudoTerminal&) = delete;

    // Opens a new pair; false with a reason in `error` when it cannot.
    bool Open(std::string& error);
    // Closes both ends held here: the program's end then reports the line
    // as gone, as with a cable pulled out.
    void Close();

    int MasterFd() const { return master_; }
    // Bytes we sent that the program has not read yet. Closing throws them
    // away, so a hang-up waits for them to be taken first.
    int UnreadByHost() const;
    const std::string& SlavePath() const { return slavePath_; }

private:
    int master_ = -1;
    // Our own handle on the slave keeps the line alive while the program
    // closes and reopens its end, so a new session finds the same device
    // and we never see a hang-up we would have to poll our way out of.
    int slave_ = -1;
    std::string slavePath_;
};
