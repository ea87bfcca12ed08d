// SPDX-License-Identifier: GPL-3.0-or-later
#include "settings/Language.h"

#include "base/IniFile.h"
#include "core/State.h"
#include "settings/MsgBox.h"

TLanguage Language;

namespace {
constexpr const char* kLanguageSection = "Language";
}

// Constant-initialised, so the global message table can use it while it is
// being constructed, whatever the order of the program's static objects.
constinit const std::array<MessageKey, 29> kMessageKeys = {{
    {"Confirmation", &TLanguage::Confirmation, "Confirmation"},
    {"ExitProgram", &TLanguage::ExitProgram, "Do you wish to exit program?"},
    {"SaveProgram", &TLanguage::SaveProgram, "Do you wish to save the changes?"},
    {"Channel", &TLanguage::Channel, "Channel"},
    {"Info", &TLanguage::Info, " Information"},
    {"OutRange", &TLanguage::OutRange, "Frequecy is Out of range."},
    {"Caution", &TLanguage::Caution, "Caution"},
    {"FChBigT", &TLanguage::FChBigT, "Start Channel must less than End Channel!"},
    {"Close", &TLanguage::Close, "Closed"},
    {"Open", &TLanguage::Open, "Opened"},
    {"ComError", &TLanguage::ComError, "Please check all connections and communication port settings."},
    {"ModError", &TLanguage::ModError, "Model Type Wrong."},
    {"PwdError", &TLanguage::PwdError, "Pass Word Wrong."},
    {"ClearData", &TLanguage::ClearData, "Do you wish to Clear Data?"},
    {"Modforce", &TLanguage::Modforce, "Do you wish to Force write data?"},
    {"FileExists", &TLanguage::FileExists, "The File is Exists,Replace it?"},
    {"All", &TLanguage::All, "All"},
    {"ErrRange", &TLanguage::ErrRange, "The frequecy number come amiss!"},
    {"ModelType", &TLanguage::ModelType, "Model Type"},
    {"Frequency", &TLanguage::Frequency, "Frequency"},
    {"ReadOk", &TLanguage::ReadOk, "Reading Completed."},
    {"WriteOk", &TLanguage::WriteOk, "Writing Completed."},
    {"PortError", &TLanguage::PortError, "Cannot Open Communication Port."},
    // File errors: the text, then the path in quotes and the system's reason.
    {"FileOpenError", &TLanguage::FileOpenError, "Cannot open file"},
    {"FileCreateError", &TLanguage::FileCreateError, "Cannot create file"},
    {"FileNotSaved", &TLanguage::FileNotSaved, "The file was not saved."},
    // Help Topics found no program to show the help; the guide's path follows.
    {"HelpNotShown", &TLanguage::HelpNotShown, "The help cannot be shown. The user guide is here:"},
    // A settings or language file over 1 MiB; the path follows in quotes.
    {"FileTooLarge", &TLanguage::FileTooLarge, "The file is larger than 1 MiB and was not read:"},
    // The system refused the port because another program has it open.
    {"PortInUse", &TLanguage::PortInUse, "Cannot Open Communication Port: another program is using it."},
}};

TLanguage::TLanguage()
{
    Reset();
}

void TLanguage::Reset()
{
    for (const MessageKey& m : kMessageKeys)
        this->*m.field = m.defaultText;
    Locale.clear();
}

std::string LanguageFilePath(const std::string& languageName)
{
    return ALL.AppPath + languageName + ".Ini";
}

void LoadLanguage(const std::string& languageName)
{
    // A missing file reads as one without keys: every text takes its default.
    TIniFile file(LanguageFilePath(languageName));
    if (file.TooLarge())
        ShowFileTooLarge(file.Path()); // in the language in use until now
    for (const MessageKey& m : kMessageKeys)
        Language.*m.field = file.ReadString(kLanguageSection, m.key, m.defaultText);
    Language.Locale = file.ReadString(kLanguageSection, "Locale", "");
}

void ShowFileTooLarge(const std::string& path)
{
    MsgBox(Language.Confirmation, Language.FileTooLarge + " \"" + path + "\"", kMsgInformation);
}
