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

    TLanguage();   // every field holds its default
    void Reset();  // back to the defaults
};

struct MessageKey {
    const char* key;
    std::string TLanguage::*field;
    const char* defaultText;
};
extern const std::array<MessageKey, 23> kMessageKeys;

// Path of a language file: AppPath + name + ".Ini".
std::string LanguageFilePath(const std::string& languageName);

// Fills the global message table from the language file of that name. A
// missing file or key gives the default text.
void LoadLanguage(const std::string& languageName);
