// A file named on the command line, the command line refused, and the Ctrl+O and Ctrl+S keys of
// the main window and the font dialog.
#include <filesystem>

#include "tests/ui/MainWindowFixture.h"
#include "tests/ui/RunProgram.h"
#include "ui/EditorArgs.h"
#include "ui/FontDlg.h"

namespace vorlane::test {
namespace {

using namespace res;
using B = RomBuilder;
using Asked = dk::ScriptedPrompts::Asked;

class StartTest : public MainWindowFixture {
  protected:
    // A new main window that was given `path` on the command line, once its loop has run.
    void startWith(const std::string& path) {
        testApp().m_pMainWnd = nullptr;
        dlg = std::make_unique<CMainDlg>();
        dlg->m_fileToOpen = path;
        testApp().m_pMainWnd = dlg.get();
        ASSERT_TRUE(dlg->Create());
        // Nothing before the window is shown and its loop runs.
        EXPECT_EQ(dlg->m_loaded, 0);
        drive::processEvents();
    }
    // What the window shows and holds, and the prompts since `from`.
    std::string state(size_t from) const {
        std::string out =
            shown() + " | loaded " + std::to_string(dlg->m_loaded) + " " + dlg->m_statusMessage;
        out += dlg->m_image.data == CRomImage().data ? " | image reset" : " | image read";
        for (size_t i = from; i < scripted.asked().size(); ++i) {
            const Asked& a = scripted.asked()[i];
            out += " | asked " + std::to_string(a.kind) + " " + a.message.caption + " " +
                   std::to_string(a.message.type) + " " + a.message.text;
        }
        return out;
    }
};

TEST_F(StartTest, AFileOnTheCommandLineOpensAsLoadBiosOpensIt) {
    const std::string folder = dir.file("folder.rom");
    std::filesystem::create_directory(folder);
    const std::vector<std::pair<std::string, bool>> cases = {
        {write("card.rom", B().engineFeedback(0x64)), false},
        {write("small.rom", B().fileSize(16383)), true},
        {folder, true},
        {dir.file("gone.rom"), true},
    };
    for (const auto& [path, errorBox] : cases) {
        SCOPED_TRACE(path);
        freshWindow();
        size_t from = scripted.asked().size();
        if (errorBox) {
            scripted.answerMessage(dk::IDOK);
        }
        load(path);
        const std::string chosen = state(from + 1);

        from = scripted.asked().size();
        if (errorBox) {
            scripted.answerMessage(dk::IDOK);
        }
        startWith(path);
        EXPECT_EQ(state(from), chosen);
        EXPECT_TRUE(scripted.drained());
    }
}

TEST(EditorArgs, AtMostOneFileAndNoOptionsOfItsOwn) {
    struct Case {
        std::vector<std::string> args;
        bool ok;
        std::string file;
    };
    const std::vector<Case> cases = {
        {{}, true, ""},
        {{"card.rom"}, true, "card.rom"},
        {{"--", "-card.rom"}, true, "-card.rom"},
        {{"-"}, false, ""},
        {{"--", "-"}, false, ""},
        {{"a.rom", "b.rom"}, false, ""},
        {{"--bogus"}, false, ""},
        {{"card.rom", "-x"}, false, ""},
        {{"--", "a.rom", "--"}, false, ""},
    };
    for (const Case& c : cases) {
        const EditorArgs parsed = parseEditorArgs(c.args);
        EXPECT_EQ(std::make_pair(parsed.ok, parsed.file), std::make_pair(c.ok, c.file))
            << ::testing::PrintToString(c.args);
        EXPECT_EQ(parsed.error.empty(), c.ok);
    }
}

TEST(EditorCommandLine, IsRefusedWithAUsageLineAndStatus2BeforeAnyWindow) {
    const std::vector<std::vector<std::string>> refused = {
        {"--bogus"}, {"a.rom", "b.rom"}, {"-platform", "offscreen", "-q", "a.rom"}, {"-"}};
    for (const std::vector<std::string>& args : refused) {
        SCOPED_TRACE(::testing::PrintToString(args));
        const ProgramRun editor = runProgram(VORLANE_EDITOR, args);
        ASSERT_TRUE(editor.finished);
        EXPECT_TRUE(editor.normalExit);
        EXPECT_EQ(editor.exitCode, 2);
        EXPECT_NE(editor.err.find("Usage: vorlane [FILE]\n"), std::string::npos);
        EXPECT_TRUE(editor.out.empty());
    }
    const ProgramRun help = runProgram(VORLANE_EDITOR, {"--help"});
    ASSERT_TRUE(help.finished);
    EXPECT_EQ(help.exitCode, 0);
    EXPECT_TRUE(help.out.starts_with("Usage: vorlane [FILE]\n"));
}

// On a console Qt would abort with advice to reinstall; the editor says instead what is missing,
// in one line, unless the user chose a platform. --version is the GNU block, no resource text.
TEST(EditorCommandLine, WithoutADisplayOneLineSaysWhatToDoAndVersionIsGnuStyle) {
#ifdef _WIN32
    GTEST_SKIP() << "a Windows program always has a display: no display is a Linux case only";
#endif
    const std::vector<std::string> console{"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"};
    const ProgramRun editor = runProgram(VORLANE_EDITOR, {}, console);
    ASSERT_TRUE(editor.finished);
    EXPECT_TRUE(editor.normalExit);
    EXPECT_EQ(editor.exitCode, 1);
    EXPECT_EQ(std::count(editor.err.begin(), editor.err.end(), '\n'), 1) << editor.err;
    EXPECT_TRUE(editor.err.starts_with("vorlane: no display") &&
                editor.err.find("xvfb-run") != std::string::npos)
        << editor.err;

    // A platform named on the command line is Qt's to judge: the window opens and closes.
    const ProgramRun chosen =
        runProgram(VORLANE_EDITOR, {"-platform", "offscreen", "--bogus"}, console);
    ASSERT_TRUE(chosen.finished);
    EXPECT_EQ(chosen.exitCode, 2) << chosen.err;

    const ProgramRun version = runProgram(VORLANE_EDITOR, {"--version"});
    ASSERT_TRUE(version.finished);
    EXPECT_EQ(version.exitCode, 0);
    std::vector<std::string> lines;
    std::istringstream out(version.out);
    for (std::string line; std::getline(out, line);) {
        lines.push_back(line);
    }
    ASSERT_GE(lines.size(), 3u);
    EXPECT_EQ(lines[0], "vorlane " VORLANE_VERSION);
    EXPECT_TRUE(lines[1].starts_with("Copyright (C) ")) << lines[1];
    EXPECT_EQ(version.out.find("file version"), std::string::npos);
}

// The keys reach the buttons' handlers with their gates: before a load Ctrl+S asks for nothing,
// and without located fonts the font dialog's keys ask for nothing either. Each window's keys
// are its own: the font dialog's Ctrl+O asks for a font file.
TEST_F(MainWindowFixture, CtrlOAndCtrlSPressLoadAndSaveInTheMainWindowAndTheFontDialog) {
    // "open Rom Files ...", "save Font Files ...", or "" when no file dialog was asked for.
    const auto keys = [&](dk::WindowHandle window, drive::Key key,
                          std::optional<std::string> answer) {
        const size_t from = scripted.asked().size();
        if (answer) {
            scripted.answerFile(answer->empty() ? std::nullopt : answer);
        }
        drive::pressKey(window, key, drive::kCtrl);
        if (scripted.asked().size() == from) {
            return std::string();
        }
        const Asked& a = scripted.asked()[from];
        return (a.kind == Asked::OpenFile ? "open " : "save ") + a.file.filter.substr(0, 9);
    };
    const std::optional<std::string> cancel = "";
    EXPECT_EQ(keys(dlg->window(), drive::Key::S, std::nullopt), "");
    EXPECT_EQ(keys(dlg->window(), drive::Key::O, write("card.rom", B())), "open Rom Files");
    EXPECT_EQ(text(IDC_PATH), dir.file("card.rom"));
    EXPECT_EQ(keys(dlg->window(), drive::Key::S, cancel), "save Rom Files");
    EXPECT_EQ(drive::toolTip(dlg->GetDlgItem(IDC_LOAD_BIOS)), "Ctrl+O");
    EXPECT_EQ(drive::toolTip(dlg->GetDlgItem(IDC_SAVE_BIOS)), "Ctrl+S");

    for (const bool located : {true, false}) {
        SCOPED_TRACE(located ? "fonts located" : "no fonts");
        dlg->m_image.font8x16Offset = located ? B::kFont8x16 : 0;
        CFontDlg font;
        font.m_pImage = &dlg->m_image;
        ASSERT_TRUE(font.Create());
        drive::activate(font.window());
        const auto answer = located ? cancel : std::nullopt;
        EXPECT_EQ(keys(font.window(), drive::Key::O, answer), located ? "open Font File" : "");
        EXPECT_EQ(keys(font.window(), drive::Key::S, answer), located ? "save Font File" : "");
        EXPECT_EQ(drive::toolTip(font.GetDlgItem(IDC_LOAD_FONT)), "Ctrl+O");
        EXPECT_EQ(drive::toolTip(font.GetDlgItem(IDC_SAVE_FONT)), "Ctrl+S");
    }
}

}  // namespace
}  // namespace vorlane::test
