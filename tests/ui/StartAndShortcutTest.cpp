// A file named on the command line, the command line refused, and the Ctrl+O and Ctrl+S keys of
// the main window and the font dialog.
#include <QProcess>
#include <filesystem>

#include "tests/support/ModalDriver.h"
#include "tests/ui/MainWindowFixture.h"
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
        QCoreApplication::processEvents();
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
    const std::vector<QStringList> refused = {
        {"--bogus"}, {"a.rom", "b.rom"}, {"-platform", "offscreen", "-q", "a.rom"}, {"-"}};
    for (const QStringList& args : refused) {
        SCOPED_TRACE(args.join(' ').toStdString());
        QProcess editor;
        editor.start(QStringLiteral(VORLANE_EDITOR), args);
        ASSERT_TRUE(editor.waitForFinished(10000));
        EXPECT_EQ(editor.exitStatus(), QProcess::NormalExit);
        EXPECT_EQ(editor.exitCode(), 2);
        EXPECT_TRUE(editor.readAllStandardError().contains("Usage: vorlane [FILE]\n"));
        EXPECT_TRUE(editor.readAllStandardOutput().isEmpty());
    }
    QProcess help;
    help.start(QStringLiteral(VORLANE_EDITOR), {"--help"});
    ASSERT_TRUE(help.waitForFinished(10000));
    EXPECT_EQ(help.exitCode(), 0);
    EXPECT_TRUE(help.readAllStandardOutput().startsWith("Usage: vorlane [FILE]\n"));
}

// On a console Qt would abort with advice to reinstall; the editor says instead what is missing,
// in one line, unless the user chose a platform. --version is the GNU block, no resource text.
TEST(EditorCommandLine, WithoutADisplayOneLineSaysWhatToDoAndVersionIsGnuStyle) {
    QProcessEnvironment console = QProcessEnvironment::systemEnvironment();
    for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"}) {
        console.remove(QString::fromLatin1(name));
    }
    QProcess editor;
    editor.setProcessEnvironment(console);
    editor.start(QStringLiteral(VORLANE_EDITOR), {});
    ASSERT_TRUE(editor.waitForFinished(10000));
    EXPECT_EQ(editor.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(editor.exitCode(), 1);
    const QByteArray err = editor.readAllStandardError();
    EXPECT_EQ(err.count('\n'), 1) << err.toStdString();
    EXPECT_TRUE(err.startsWith("vorlane: no display") && err.contains("xvfb-run"))
        << err.toStdString();

    // A platform named on the command line is Qt's to judge: the window opens and closes.
    QProcess chosen;
    chosen.setProcessEnvironment(console);
    chosen.start(QStringLiteral(VORLANE_EDITOR), {"-platform", "offscreen", "--bogus"});
    ASSERT_TRUE(chosen.waitForFinished(10000));
    EXPECT_EQ(chosen.exitCode(), 2) << chosen.readAllStandardError().toStdString();

    QProcess version;
    version.start(QStringLiteral(VORLANE_EDITOR), {"--version"});
    ASSERT_TRUE(version.waitForFinished(10000));
    EXPECT_EQ(version.exitCode(), 0);
    const QStringList lines = QString::fromUtf8(version.readAllStandardOutput()).split('\n');
    ASSERT_GE(lines.size(), 3);
    EXPECT_EQ(lines[0], QStringLiteral("vorlane " VORLANE_VERSION));
    EXPECT_TRUE(lines[1].startsWith(QStringLiteral("Copyright (C) "))) << lines[1].toStdString();
    EXPECT_FALSE(lines.join('\n').contains(QStringLiteral("file version")));
}

// The keys reach the buttons' handlers with their gates: before a load Ctrl+S asks for nothing,
// and without located fonts the font dialog's keys ask for nothing either. Each window's keys
// are its own: the font dialog's Ctrl+O asks for a font file.
TEST_F(MainWindowFixture, CtrlOAndCtrlSPressLoadAndSaveInTheMainWindowAndTheFontDialog) {
    // "open Rom Files ...", "save Font Files ...", or "" when no file dialog was asked for.
    const auto keys = [&](QWidget* window, Qt::Key key, std::optional<std::string> answer) {
        const size_t from = scripted.asked().size();
        if (answer) {
            scripted.answerFile(answer->empty() ? std::nullopt : answer);
        }
        QTest::keyClick(window, key, Qt::ControlModifier);
        if (scripted.asked().size() == from) {
            return std::string();
        }
        const Asked& a = scripted.asked()[from];
        return (a.kind == Asked::OpenFile ? "open " : "save ") + a.file.filter.substr(0, 9);
    };
    const std::optional<std::string> cancel = "";
    EXPECT_EQ(keys(dlg->window(), Qt::Key_S, std::nullopt), "");
    EXPECT_EQ(keys(dlg->window(), Qt::Key_O, write("card.rom", B())), "open Rom Files");
    EXPECT_EQ(text(IDC_PATH), dir.file("card.rom"));
    EXPECT_EQ(keys(dlg->window(), Qt::Key_S, cancel), "save Rom Files");
    EXPECT_EQ(dlg->GetDlgItem(IDC_LOAD_BIOS)->toolTip(), "Ctrl+O");
    EXPECT_EQ(dlg->GetDlgItem(IDC_SAVE_BIOS)->toolTip(), "Ctrl+S");

    for (const bool located : {true, false}) {
        SCOPED_TRACE(located ? "fonts located" : "no fonts");
        dlg->m_image.font8x16Offset = located ? B::kFont8x16 : 0;
        CFontDlg font;
        font.m_pImage = &dlg->m_image;
        ASSERT_TRUE(font.Create());
        QApplication::setActiveWindow(font.window());
        const auto answer = located ? cancel : std::nullopt;
        EXPECT_EQ(keys(font.window(), Qt::Key_O, answer), located ? "open Font File" : "");
        EXPECT_EQ(keys(font.window(), Qt::Key_S, answer), located ? "save Font File" : "");
        EXPECT_EQ(font.GetDlgItem(IDC_LOAD_FONT)->toolTip(), "Ctrl+O");
        EXPECT_EQ(font.GetDlgItem(IDC_SAVE_FONT)->toolTip(), "Ctrl+S");
    }
}

}  // namespace
}  // namespace vorlane::test
