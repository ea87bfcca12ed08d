// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The message table: every text a message box shows, from section
// "Language" of the current language file, with built-in English defaults.
#include <array>
#include <string>

class TLanguage {
public:
    std::string Confirmation;
    std::string ExitProgram;
    std::string SaveProgram;
    std::string Channel;
    std::string Info;
    std::string OutRange;
    std::string Caution;
    std::string FChBigT;
    std::string Close;
    std::string Open;
    std::string ComError;
    std::string ModError;
    std::string PwdError;
    std::string ClearData;
    std::string Modforce;
    std::string FileExists;
    std::string All;
    std::string ErrRange;
    std::string ModelType;
    std::string Frequency;
    std::string ReadOk;
    std::string WriteOk;
    std::string PortError;
    std::string PortInUse;
    std::string FileOpenError;
    std::string FileCreateError;
    std::string FileNotSaved;
    std::string HelpNotShown;
    std::string FileTooLarge;

    // Not a message: the optional "Locale" key of the section (zh_CN), which
    // picks the translations of the dialogs the program takes from Qt (file
    // dialogs, message box buttons). Empty when the file names none.
    std::string Locale;

    TLanguage();  // every field holds its default
    void Reset(); // back to the defaults
};
// The message table of the running program.
extern TLanguage Language;

struct MessageKey {
    const char* key;
    std::string TLanguage::*field;
    const char* defaultText;
};
extern const std::array<MessageKey, 29> kMessageKeys;

// Path of a language file: AppPath + name + ".Ini".
std::string LanguageFilePath(const std::string& languageName);

// Fills the global message table and Locale from the language file of that
// name. A missing file or key gives the default text (no Locale); a file
// over 1 MiB is refused with a message and reads as missing.
void LoadLanguage(const std::string& languageName);

// Shows that the settings or language file at `path` is too large to read.
void ShowFileTooLarge(const std::string& path);
