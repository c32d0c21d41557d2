// The window menu's reports: "Compare with File..." (Ctrl+D) and "Check for Flashing..."
// (Ctrl+K) say what vorlane-cli diff and check say about the image as "Save Bios" would write
// it, and "Save Padded..." writes what vorlane-cli pad writes.
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QClipboard>
#include <QComboBox>
#include <QMenu>
#include <QPlainTextEdit>
#include <QProcess>
#include <algorithm>

#include "tests/support/ModalDriver.h"
#include "tests/ui/MainWindowFixture.h"

namespace vorlane::test {
namespace {

using namespace res;
using B = RomBuilder;

class ReportTest : public MainWindowFixture {
  protected:
    // vorlane-cli's standard output, with `from` in it replaced by `to`.
    static std::string cli(const QStringList& args, const std::string& from = "",
                           const std::string& to = "") {
#ifdef VORLANE_CLI
        QProcess process;
        process.start(QStringLiteral(VORLANE_CLI), args);
        EXPECT_TRUE(process.waitForFinished(10000));
        std::string out = process.readAllStandardOutput().toStdString();
        for (size_t at = from.empty() ? std::string::npos : out.find(from); at != std::string::npos;
             at = out.find(from, at + to.size())) {
            out.replace(at, from.size(), to);
        }
        return out;
#else
        (void)args, (void)from, (void)to;
        return "(vorlane-cli is not built)";
#endif
    }
    static QString q(const std::string& text) {
        return QString::fromStdString(text);
    }

    // Presses `key` with Ctrl in the main window and runs `action` on the report dialog that
    // opens; false when none opened. The action must close it.
    bool withReport(Qt::Key key, const std::function<void(QWidget*)>& action) {
        activate();
        ModalDriver driver;
        driver.onNext(action);
        QTest::keyClick(dlg->window(), key, Qt::ControlModifier);
        return driver.fired();
    }
    // The main window active, with no activation left pending that could close a popup later.
    void activate() {
        QApplication::setActiveWindow(dlg->window());
        QCoreApplication::processEvents();
    }
    static std::string reportOf(QWidget* report) {
        return report->findChild<QPlainTextEdit*>()->toPlainText().toStdString();
    }
    static void press(QWidget* report, int id) {
        QTest::mouseClick(report->findChild<QWidget*>(QStringLiteral("control-%1").arg(id)),
                          Qt::LeftButton);
    }
};

TEST_F(ReportTest, MenuEntriesAndKeysDoNothingBeforeALoad) {
    EXPECT_FALSE(withReport(Qt::Key_D, [](QWidget* w) { w->close(); }));
    EXPECT_FALSE(withReport(Qt::Key_K, [](QWidget* w) { w->close(); }));
    // From the menu, after "About", with their keys.
    for (const int entry : {1, 2}) {
        QStringList seen;
        bool opened = false;
        ModalDriver menuDriver;
        ModalDriver reportDriver;
        menuDriver.onNext([&](QWidget* popup) {
            const QList<QAction*> actions = popup->actions();
            for (QAction* action : actions) {
                seen << action->text() + " " + action->shortcut().toString();
            }
            reportDriver.onNext([&](QWidget* w) {
                opened = true;
                w->close();
            });
            static_cast<QMenu*>(popup)->setActiveAction(actions.at(actions.size() - 3 + entry));
            QTest::keyClick(popup, Qt::Key_Return);
        });
        activate();
        QTest::keyClick(dlg->window(), Qt::Key_Space, Qt::AltModifier);
        ASSERT_TRUE(menuDriver.fired());
        EXPECT_EQ(seen.mid(2), (QStringList{"&About Vorlane_25... ", "Co&mpare with File... Ctrl+D",
                                            "Chec&k for Flashing... Ctrl+K"}));
        QCoreApplication::processEvents();
        EXPECT_FALSE(opened);
    }
    EXPECT_TRUE(scripted.asked().empty());
}

// The image is changed in the window and not saved: the reports are of what "Save Bios" would
// write (the checksum fixed), which is the file that the command-line tool is then given.
TEST_F(ReportTest, ReportsAreTheCommandLineToolsAndSavePaddedWritesWhatPadWrites) {
    const std::string dump = write("dump.rom", B());
    load(dump);
    step(IDC_CHIP_SPIN, +1);
    const CRomImage before = dlg->m_image;
    const std::string other = write("other.rom", B().deviceId(0x5446).poke(B::kFont8x16, {0}));

    std::string compared;
    scripted.answerFile(other);
    EXPECT_TRUE(withReport(Qt::Key_D, [&](QWidget* report) {
        compared = reportOf(report);
        press(report, IDC_COPY_REPORT);
        EXPECT_EQ(QGuiApplication::clipboard()->text().toStdString(), compared);
        QTest::keyClick(report->findChild<QPlainTextEdit*>(), Qt::Key_Escape);
        EXPECT_FALSE(report->isVisible());
    }));
    EXPECT_EQ(lastAsked().file.filter, CMainDlg::kRomFilter);

    std::vector<std::string> checked;
    const std::string padded = dir.file("padded.rom");
    scripted.answerMessage(dk::IDOK);  // 32 KiB: refused
    scripted.answerFile(padded);       // 128 KiB
    EXPECT_TRUE(withReport(Qt::Key_K, [&](QWidget* report) {
        auto* chip = report->findChild<QComboBox*>();
        for (int choice = 0; choice < chip->count(); ++choice) {
            chip->setCurrentIndex(choice);
            emit chip->activated(choice);
            checked.push_back(reportOf(report));
        }
        chip->setCurrentIndex(1);
        emit chip->activated(1);
        press(report, IDC_SAVE_PADDED);
        chip->setCurrentIndex(3);
        emit chip->activated(3);
        press(report, IDC_SAVE_PADDED);
        press(report, dk::IDCANCEL);
    }));
    EXPECT_EQ(scripted.asked().at(scripted.asked().size() - 2).message.text,
              "Not padded: the file is 65536 bytes, the chip holds 32768");
    EXPECT_TRUE(dlg->m_image.data == before.data);  // only a copy was fixed

    // What Save Bios writes, given to the command-line tool under the window's name for it.
    scripted.answerFile(dir.file("saved.rom"));
    click(IDC_SAVE_BIOS);
    const std::string saved = dir.file("saved.rom");
    EXPECT_EQ(compared, cli({q("diff"), q(saved), q(other)}, saved, dump));
    ASSERT_EQ(checked.size(), 4u);
    for (size_t i = 0; i < checked.size(); ++i) {
        const char* size[] = {"65536", "32K", "64K", "128K"};
        EXPECT_EQ(checked[i], cli({q("check"), q("--chip-size"), size[i], q(saved)}, saved, dump))
            << size[i];
    }
    std::vector<uint8_t> expected = readBytes(saved);
    expected.resize(131072, 0xFF);
    EXPECT_TRUE(readBytes(padded) == expected);

    // A file longer than the image it declares is compared whole, as diff loads it.
    const std::string half = write("half.rom", B().declaredBlocks(0x40));
    scripted.answerFile(half);
    EXPECT_TRUE(withReport(Qt::Key_D, [&](QWidget* report) {
        compared = reportOf(report);
        QTest::keyClick(report->findChild<QPlainTextEdit*>(), Qt::Key_Escape);
    }));
    EXPECT_EQ(compared, cli({q("diff"), q(saved), q(half)}));

    // Padded onto a FIFO: refused before it is opened, whose open would wait for a reader. One
    // holds it open here, so that a save that wrongly writes into it fails instead of hanging.
    const std::string fifo = dir.file("fifo.rom");
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    const int reader = ::open(fifo.c_str(), O_RDONLY | O_NONBLOCK);
    ASSERT_GE(reader, 0);
    scripted.answerFile(fifo);
    scripted.answerMessage(dk::IDOK);
    EXPECT_TRUE(withReport(Qt::Key_K, [&](QWidget* report) {
        // The image's own size, which the FIFO's buffer holds whole.
        auto* chip = report->findChild<QComboBox*>();
        chip->setCurrentIndex(0);
        emit chip->activated(0);
        press(report, IDC_SAVE_PADDED);
        press(report, dk::IDCANCEL);
    }));
    const std::string box = lastAsked().message.text;
    EXPECT_NE(box.find(fifo), std::string::npos) << box;
    EXPECT_NE(box.find("Not a regular file"), std::string::npos) << box;
    char byte = 0;
    EXPECT_LE(::read(reader, &byte, 1), 0) << "the padded image went into the FIFO";
    ::close(reader);
}

}  // namespace
}  // namespace vorlane::test
