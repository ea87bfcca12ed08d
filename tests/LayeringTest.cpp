// SPDX-License-Identifier: GPL-3.0-or-later
// The layers of the tree: a file in a ui/ or qt/ folder (or in app/cli/ or
// tools/) may use Qt and the windows; every other file is core and may not.
// Tests are held to the rule of the folder they mirror. The link works on
// the bytes it is given: only its window drivers (link/ui/) see the global
// document, core/State.h.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
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

// The include lines of `source` that break the rule for `relative`.
std::vector<std::string> Offences(const fs::path& relative, std::istream& source)
{
    static const std::regex qtInclude(R"(^\s*#\s*include\s*<(Q[A-Za-z]*|Qt[A-Za-z]+/[^>]*)>)");
    static const std::regex uiInclude(R"(^\s*#\s*include\s*"(ui/|[^"]*/ui/)[^"]*")");
    static const std::regex appInclude(R"(^\s*#\s*include\s*"app/[^"]*")");
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
        if ((!windows && qtOrWindows) || (linkCore && std::regex_search(line, stateInclude)))
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
