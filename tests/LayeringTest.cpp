// SPDX-License-Identifier: GPL-3.0-or-later
// The layers of the tree: a file in a ui/ or qt/ folder (or in app/cli/ or
// tools/) may use Qt and the windows; every other file is core and may not.
// Tests are held to the rule of the folder they mirror. The link works on
// the bytes it is given: only its window drivers (link/ui/) see the global
// document, core/State.h. The core folders are layers: each includes only
// the folders below it (kMayInclude), so no two of them can form a circle.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <map>
#include <regex>
#include <sstream>
#include <string>
#include <vector>

namespace fs = std::filesystem;

namespace {
bool HasFolder(const fs::path& relative, const std::string& name)
{
    for (const fs::path& part : relative.parent_path())
        if (part == name)
            return true;
    return false;
}

// The path a file stands for in the layers: tests/link/ui/X is link/ui/X.
fs::path LayerPath(const fs::path& relative)
{
    auto it = relative.begin();
    if (it != relative.end() && *it == "tests") {
        fs::path rest;
        for (++it; it != relative.end(); ++it)
            rest /= *it;
        return rest;
    }
    return relative;
}

bool MayUseWindows(const fs::path& relative)
{
    const fs::path layer = LayerPath(relative);
    const std::string text = layer.generic_string();
    return HasFolder(layer, "ui") || HasFolder(layer, "qt") || text.starts_with("app/cli/") ||
           text.starts_with("tools/");
}

// The core folders, each with the folders just below it; a folder may
// include its own files and those of every folder it reaches down this table.
const std::map<std::string, std::vector<std::string>> kMayInclude = {
    {"base", {}},
    {"core", {"base"}},
    {"settings", {"core"}},
    {"image", {"settings"}},
    {"editors", {"image"}},
    {"image/formats", {"editors"}},
    {"document", {"image/formats"}},
    {"link", {"document"}},
    {"app", {"link"}},
};

// The folder a file or include path belongs to: its directory, without the
// platform part (base/win/WideText.h is in base).
std::string FolderOf(const fs::path& path)
{
    fs::path folder = path.parent_path();
    if (folder.filename() == "win" || folder.filename() == "posix")
        folder = folder.parent_path();
    return folder.generic_string();
}

bool Reaches(const std::string& from, const std::string& to)
{
    if (from == to)
        return true;
    for (const std::string& below : kMayInclude.at(from))
        if (Reaches(below, to))
            return true;
    return false;
}

// An include of one core folder's header from another that is not below it.
// The windows (ui/, qt/) have their own rule; the tests' helpers beside the
// tests (TestSupport, FakeLink) may use anything.
bool IncludesUpwards(const fs::path& relative, const std::string& line)
{
    static const std::regex projectInclude(R"re(^\s*#\s*include\s*"([a-z]+/[^"]*)")re");
    std::smatch match;
    if (!std::regex_search(line, match, projectInclude))
        return false;
    const bool test = relative.begin()->string() == "tests";
    if (test && !relative.filename().string().ends_with("Test.cpp"))
        return false;
    const std::string from = FolderOf(LayerPath(relative));
    if (!kMayInclude.contains(from))
        return false;
    const std::string to = FolderOf(match[1].str());
    if (kMayInclude.contains(to))
        return !Reaches(from, to);
    // A window or adapter folder (ui/, link/qt/, app/cli/...) is above every
    // core folder.
    const std::string top = fs::path(to).begin()->string();
    return top == "ui" || kMayInclude.contains(top);
}

// The include lines of `source` that break the rule for `relative`.
std::vector<std::string> Offences(const fs::path& relative, std::istream& source)
{
    static const std::regex qtInclude(R"(^\s*#\s*include\s*<(Q[A-Za-z]*|Qt[A-Za-z]+/[^>]*)>)");
    static const std::regex uiInclude(R"(^\s*#\s*include\s*"(ui/|[^"]*/ui/)[^"]*")");
    // The program's windows and command line; app/Startup.h is the top
    // core layer (kMayInclude).
    static const std::regex appInclude(R"(^\s*#\s*include\s*"app/[^"]*/[^"]*")");
    static const std::regex stateInclude(R"(^\s*#\s*include\s*"core/State\.h")");
    std::vector<std::string> found;
    const std::string path = relative.generic_string();
    const bool linkCore = path.starts_with("link/") && !HasFolder(relative, "ui");
    const bool windows = MayUseWindows(relative);
    if (windows && !linkCore)
        return found;
    const bool belowApp = !LayerPath(relative).generic_string().starts_with("app/");
    std::string line;
    for (int number = 1; std::getline(source, line); ++number) {
        const bool qtOrWindows = std::regex_search(line, qtInclude) || std::regex_search(line, uiInclude) ||
                                 (belowApp && std::regex_search(line, appInclude));
        if ((!windows && qtOrWindows) || (linkCore && std::regex_search(line, stateInclude)) ||
            IncludesUpwards(relative, line))
            found.push_back(relative.generic_string() + ":" + std::to_string(number) + ": " + line);
    }
    return found;
}

std::vector<std::string> OffencesOf(const fs::path& relative, const std::string& text)
{
    std::istringstream in(text);
    return Offences(relative, in);
}
}

TEST(Layering, TheRuleSeesEachKindOfOffence)
{
    EXPECT_EQ(OffencesOf("image/Image.cpp", "#include <QString>\n").size(), 1u);
    EXPECT_EQ(OffencesOf("link/RadioLink.h", "  #include <QtCore/QTimer>\n").size(), 1u);
    EXPECT_EQ(OffencesOf("core/State.cpp", "#include \"editors/ui/ChsInfo.h\"\n").size(), 1u);
    EXPECT_EQ(OffencesOf("settings/MsgBox.cpp", "#include \"ui/ButtonRow.h\"\n").size(), 1u);
    EXPECT_EQ(OffencesOf("image/DataFile.cpp", "#include \"app/cli/Dump.h\"\n").size(), 1u);
    EXPECT_EQ(OffencesOf("tests/image/ImageTest.cpp", "#include <QByteArray>\n").size(), 1u);
    // Where windows live, and standard headers anywhere.
    EXPECT_TRUE(OffencesOf("editors/ui/ChsInfo.cpp", "#include <QComboBox>\n#include \"app/ui/MainFrm.h\"\n").empty());
    EXPECT_TRUE(OffencesOf("link/qt/QtSerialPort.cpp", "#include <QSerialPort>\n").empty());
    EXPECT_TRUE(OffencesOf("tests/app/ui/MainFrmTest.cpp", "#include <QTest>\n").empty());
    EXPECT_TRUE(OffencesOf("app/cli/Main.cpp", "#include <QCoreApplication>\n").empty());
    EXPECT_TRUE(OffencesOf("core/State.cpp", "#include <queue>\n#include \"core/Catalogue.h\"\n").empty());
    // The document: for the link's window drivers only.
    EXPECT_EQ(OffencesOf("link/RadioLink.cpp", "#include \"core/State.h\"\n").size(), 1u);
    EXPECT_EQ(OffencesOf("link/qt/QtLinkClock.cpp", "#include \"core/State.h\"\n").size(), 1u);
    EXPECT_TRUE(OffencesOf("link/ui/ReadRadio.cpp", "#include \"core/State.h\"\n").empty());
    EXPECT_TRUE(OffencesOf("tests/link/RadioLinkTest.cpp", "#include \"core/State.h\"\n").empty());
    // The layers: upwards is an offence, in a test of that folder too, and
    // down (or into one's own platform part) is not.
    EXPECT_EQ(OffencesOf("settings/Language.cpp", "#include \"link/IdentBlock.h\"\n").size(), 1u);
    EXPECT_EQ(OffencesOf("core/State.cpp", "#include \"settings/Language.h\"\n").size(), 1u);
    EXPECT_EQ(OffencesOf("base/win/AtomicFile.cpp", "#include \"core/State.h\"\n").size(), 1u);
    EXPECT_EQ(OffencesOf("image/Image.cpp", "#include \"link/qt/PlatformPorts.h\"\n").size(), 1u);
    EXPECT_EQ(OffencesOf("tests/image/ImageTest.cpp", "#include \"document/Documents.h\"\n").size(), 1u);
    EXPECT_TRUE(
        OffencesOf("link/Fleet.cpp", "#include \"document/FleetTexts.h\"\n#include \"base/Sha256.h\"\n").empty());
    EXPECT_TRUE(OffencesOf("image/formats/JsonDump.cpp", "#include \"editors/AreaTable.h\"\n").empty());
    EXPECT_TRUE(OffencesOf("base/win/AtomicFile.cpp", "#include \"base/win/WideText.h\"\n").empty());
    EXPECT_TRUE(OffencesOf("tests/link/LinkBench.h", "#include \"app/Startup.h\"\n").empty());
}

TEST(Layering, NoCoreFileUsesQtOrTheWindows)
{
    const fs::path root = QV300_SOURCE_DIR;
    std::vector<std::string> offences;
    int checked = 0;
    for (auto it = fs::recursive_directory_iterator(root); it != fs::recursive_directory_iterator(); ++it) {
        const fs::path relative = fs::relative(it->path(), root);
        const std::string first = relative.begin()->string();
        if (it->is_directory() && (first.starts_with(".") || first.starts_with("build") || first == "docs")) {
            it.disable_recursion_pending();
            continue;
        }
        const std::string ext = relative.extension().string();
        if (!it->is_regular_file() || (ext != ".cpp" && ext != ".h"))
            continue;
        std::ifstream in(it->path());
        for (std::string& offence : Offences(relative, in))
            offences.push_back(std::move(offence));
        ++checked;
    }
    EXPECT_GT(checked, 100);
    for (const std::string& offence : offences)
        ADD_FAILURE() << offence;
}
