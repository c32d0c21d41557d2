// The window menu's reports: "Compare with File..." (Ctrl+D) and "Check for Flashing..."
// (Ctrl+K) say what vorlane-cli diff and check say about the image as "Save Bios" would write
// it, and "Save Padded..." writes what vorlane-cli pad writes.
#include <algorithm>

#include "tests/ui/MainWindowFixture.h"
#include "tests/ui/RunProgram.h"

namespace vorlane::test {
namespace {

using namespace res;
using B = RomBuilder;

class ReportTest : public MainWindowFixture {
  protected:
    // vorlane-cli's standard output, with `from` in it replaced by `to`.
    static std::string cli(const std::vector<std::string>& args, const std::string& from = "",
                           const std::string& to = "") {
#ifdef VORLANE_CLI
        const ProgramRun process = runProgram(VORLANE_CLI, args);
        EXPECT_TRUE(process.finished);
        std::string out = process.out;
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
    // Presses `key` with Ctrl in the main window and runs `action` on the report dialog that
    // opens; false when none opened. The action must close it.
    bool withReport(drive::Key key, const std::function<void(dk::WindowHandle)>& action) {
        activate();
        drive::ModalDriver driver;
        driver.onNext(action);
        drive::pressKey(dlg->window(), key, drive::kCtrl);
        return driver.fired();
    }
    // The main window active, with no activation left pending that could close a popup later.
    void activate() {
        drive::activate(dlg->window());
        drive::processEvents();
    }
    static std::string reportOf(dk::WindowHandle report) {
        return drive::text(drive::control(report, IDC_REPORT_TEXT));
    }
    static void press(dk::WindowHandle report, int id) {
        drive::click(drive::control(report, id));
    }
};

TEST_F(ReportTest, MenuEntriesAndKeysDoNothingBeforeALoad) {
    EXPECT_FALSE(withReport(drive::Key::D, [](dk::WindowHandle w) { drive::close(w); }));
    EXPECT_FALSE(withReport(drive::Key::K, [](dk::WindowHandle w) { drive::close(w); }));
    // From the menu, after "About", with their keys.
    for (const int entry : {1, 2}) {
        std::vector<std::string> seen;
        bool opened = false;
        drive::ModalDriver menuDriver;
        drive::ModalDriver reportDriver;
        menuDriver.onNext([&](dk::WindowHandle popup) {
            const std::vector<drive::MenuItem> items = drive::menuItems(popup);
            for (const drive::MenuItem& item : items) {
                seen.push_back(item.text + " " + item.keys);
            }
            reportDriver.onNext([&](dk::WindowHandle w) {
                opened = true;
                drive::close(w);
            });
            drive::chooseMenuItem(popup, static_cast<int>(items.size()) - 3 + entry);
        });
        activate();
        drive::openWindowMenu(dlg->window(), true);
        ASSERT_TRUE(menuDriver.fired());
        EXPECT_EQ(std::vector(seen.begin() + std::min<size_t>(2, seen.size()), seen.end()),
                  (std::vector<std::string>{"&About Vorlane_25... ", "Co&mpare with File... Ctrl+D",
                                            "Chec&k for Flashing... Ctrl+K"}));
        drive::processEvents();
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
    EXPECT_TRUE(withReport(drive::Key::D, [&](dk::WindowHandle report) {
        compared = reportOf(report);
        press(report, IDC_COPY_REPORT);
        EXPECT_EQ(drive::clipboardText(), compared);
        drive::pressKey(drive::control(report, IDC_REPORT_TEXT), drive::Key::Escape);
        EXPECT_FALSE(drive::isVisible(report));
    }));
    EXPECT_EQ(lastAsked().file.filter, CMainDlg::kRomFilter);

    std::vector<std::string> checked;
    const std::string padded = dir.file("padded.rom");
    scripted.answerMessage(dk::IDOK);  // 32 KiB: refused
    scripted.answerFile(padded);       // 128 KiB
    EXPECT_TRUE(withReport(drive::Key::K, [&](dk::WindowHandle report) {
        const dk::WindowHandle chip = drive::control(report, IDC_CHIP_SIZE);
        for (int choice = 0; choice < drive::count(chip); ++choice) {
            drive::pick(chip, choice);
            checked.push_back(reportOf(report));
        }
        drive::pick(chip, 1);
        press(report, IDC_SAVE_PADDED);
        drive::pick(chip, 3);
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
    EXPECT_EQ(compared, cli({"diff", saved, other}, saved, dump));
    ASSERT_EQ(checked.size(), 4u);
    for (size_t i = 0; i < checked.size(); ++i) {
        const char* size[] = {"65536", "32K", "64K", "128K"};
        EXPECT_EQ(checked[i], cli({"check", "--chip-size", size[i], saved}, saved, dump))
            << size[i];
    }
    std::vector<uint8_t> expected = readBytes(saved);
    expected.resize(131072, 0xFF);
    EXPECT_TRUE(readBytes(padded) == expected);

    // A file longer than the image it declares is compared whole, as diff loads it.
    const std::string half = write("half.rom", B().declaredBlocks(0x40));
    scripted.answerFile(half);
    EXPECT_TRUE(withReport(drive::Key::D, [&](dk::WindowHandle report) {
        compared = reportOf(report);
        drive::pressKey(drive::control(report, IDC_REPORT_TEXT), drive::Key::Escape);
    }));
    EXPECT_EQ(compared, cli({"diff", saved, half}));
}

}  // namespace
}  // namespace vorlane::test
