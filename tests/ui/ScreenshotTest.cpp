// Writes each dialog to a PNG under the build folder for a person to look at, and checks that
// no control's text is cut off by its rectangle in the dialog font, in English and in Russian.
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <thread>

#include "tests/ui/MainWindowFixture.h"
#include "tests/ui/TextChecks.h"
#include "ui/AboutDlg.h"
#include "ui/FontDlg.h"
#include "ui/GlyphDlg.h"
#include "ui/ReportDlg.h"
#include "ui/SubsysDlg.h"

namespace vorlane::test {
namespace {

// The build folder by default; tools/screenshots points this at docs/ to refresh the README's.
std::string screenshotDir() {
    const char* chosen = std::getenv("VORLANE_SCREENSHOT_DIR");
    return chosen != nullptr && chosen[0] != '\0' ? chosen : VORLANE_SCREENSHOT_DIR;
}

// tools/windows-screenshots: with VORLANE_SCREENSHOT_PAUSE naming a folder, each window stays as
// it is shown until the script has taken the screen's picture of it, frame and title bar
// included: the window's rectangle on the screen goes into NAME.rect there, and the test waits
// (30 s at most) for NAME.taken.
bool pausing() {
    const char* pause = std::getenv("VORLANE_SCREENSHOT_PAUSE");
    return pause != nullptr && pause[0] != '\0';
}
void pauseForScreen(dk::WindowHandle window, const std::string& name) {
    if (!pausing()) {
        return;
    }
    const std::string base = std::string(std::getenv("VORLANE_SCREENSHOT_PAUSE")) + "/" + name;
    drive::processEvents();
    const dk::Rect frame = drive::geometry(window);
    std::ofstream(base + ".rect") << frame.left << ' ' << frame.top << ' ' << frame.width() << ' '
                                  << frame.height() << '\n';
    for (int i = 0; i < 600 && !std::filesystem::exists(base + ".taken"); ++i) {
        drive::processEvents();
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
}

void saveShot(dk::WindowHandle window, const std::string& name) {
    std::filesystem::create_directories(screenshotDir());
    const std::string path = screenshotDir() + "/" + name;
    ASSERT_TRUE(drive::saveScreenshot(window, path)) << path;
    EXPECT_GT(std::filesystem::file_size(path), 0u);
    pauseForScreen(window, name.substr(0, name.rfind('.')));
}

// The file dialogs answered by the script, the message boxes the system's own, so that one is
// seen on the screen.
struct RealMessageBoxes : dk::Prompts {
    explicit RealMessageBoxes(dk::Prompts& files) : files(files) {}
    std::optional<std::string> chooseFile(const dk::FileDialogRequest& request,
                                          dk::WindowHandle owner) override {
        return files.chooseFile(request, owner);
    }
    int messageBox(const dk::MessageRequest& request, dk::WindowHandle owner) override {
        return dk::nativePrompts().messageBox(request, owner);
    }
    dk::Prompts& files;
};

// Every dialog of the editor over a loaded image, each saved as <name><suffix>.png and checked.
void shootEveryDialog(CMainDlg& main, const std::string& suffix) {
    const auto check = [&](dk::WindowHandle window, const std::string& name) {
        saveShot(window, name + suffix + ".png");
        EXPECT_EQ(joined(clippedTexts(window)), "") << name;
        if (!suffix.empty()) {
            EXPECT_EQ(joined(englishTexts(window)), "") << name;
        }
    };
    check(main.window(), "main");

    CAboutDlg about;
    ASSERT_TRUE(about.Create());
    check(about.window(), "about");

    CFontDlg font;
    font.m_pImage = &main.m_image;
    ASSERT_TRUE(font.Create());
    check(font.window(), "font");

    CSubsysDlg pci;
    pci.m_pImage = &main.m_image;
    pci.m_deviceIdText = hexId(main.m_image.deviceId);
    pci.m_vendorIdText = hexId(main.m_image.vendorId);
    pci.m_subvendorIdText = hexId(main.m_image.subsystemVendorId);
    pci.m_subsystemIdText = hexId(main.m_image.subsystemId);
    ASSERT_TRUE(pci.Create());
    check(pci.window(), "pci");

    CGlyphDlg glyph;
    glyph.m_pImage = &main.m_image;
    glyph.m_code = 0x41;
    ASSERT_TRUE(glyph.Create());
    drive::activate(glyph.window());
    drive::setFocus(glyph.GetDlgItem(res::IDC_GLYPH_8X16));  // its cursor shows
    check(glyph.window(), "glyph");
}

// The window empty, with a real image when VORLANE_SCREENSHOT_ROM names one, and an error box
// over it when pausing for the screen's pictures.
void shootMainWindow(CMainDlg& main, dk::ScriptedPrompts& scripted, const std::string& suffix,
                     const std::string& tooSmall) {
    saveShot(main.window(), "main-empty" + suffix + ".png");
    EXPECT_EQ(joined(clippedTexts(main.window())), "");
    if (!pausing()) {
        return;
    }
    // A real image, and any box it brings (real ones have no clock record for this editor).
    RealMessageBoxes real(scripted);
    dk::setPrompts(&real);
    const auto boxOnLoad = [&](const std::string& path, const std::string& boxName) {
        drive::ModalDriver boxDriver;
        boxDriver.onNext([&](dk::WindowHandle box) {
            pauseForScreen(box, boxName);
            drive::pressKey(box, drive::Key::Return);
        });
        scripted.answerFile(path);
        drive::click(main.GetDlgItem(res::IDC_LOAD_BIOS));
        return boxDriver.fired();
    };
    if (const char* rom = std::getenv("VORLANE_SCREENSHOT_ROM"); rom != nullptr && rom[0] != '\0') {
        boxOnLoad(rom, "message-rom" + suffix);
        saveShot(main.window(), "main-rom" + suffix + ".png");
    }
    EXPECT_TRUE(boxOnLoad(tooSmall, "message" + suffix));
    dk::setPrompts(&scripted);
}

TEST_F(MainWindowFixture, ScreenshotsOfEveryDialog) {
    shootMainWindow(*dlg, scripted, "", write("small.rom", RomBuilder().fileSize(16383)));
    load(write("card.rom", RomBuilder().engineFeedback(0x64).deviceId(0x5a4b).subsystemId(0x00ea)));
    dlg->m_image.applyBuiltinSet(false);  // real glyphs in the grid
    shootEveryDialog(*dlg, "");
}

TEST_F(RussianFixture, ScreenshotsOfEveryDialogInRussian) {
    ASSERT_TRUE(language.starts_with("ru")) << language;
    shootMainWindow(*dlg, scripted, "-ru", write("small.rom", RomBuilder().fileSize(16383)));
    load(write("card.rom", RomBuilder().engineFeedback(0x64).deviceId(0x5a4b).subsystemId(0x00ea)));
    dlg->m_image.applyBuiltinSet(true);  // the Cyrillic set, as a Russian user would have it
    shootEveryDialog(*dlg, "-ru");
}

// The image differs from the dump in a clock, the device ID and one glyph; the check is against a
// 32 KiB chip, which the image does not fit.
void shootReportDialogs(CMainDlg& main, const std::string& other, const std::string& suffix) {
    CCompareDlg compare;
    compare.m_report = compareReport(main.m_path, savedImage(main.m_image), other);
    ASSERT_TRUE(compare.Create());
    drive::processEvents();  // the text's scroll bars follow its layout
    saveShot(compare.window(), "compare" + suffix + ".png");
    EXPECT_EQ(joined(clippedTexts(compare.window())), "");

    CCheckDlg check;
    check.m_pImage = &main.m_image;
    check.m_path = main.m_path;
    ASSERT_TRUE(check.Create());
    drive::pick(check.GetDlgItem(res::IDC_CHIP_SIZE), 1);
    drive::processEvents();
    saveShot(check.window(), "check" + suffix + ".png");
    EXPECT_EQ(joined(clippedTexts(check.window())), "");
}

TEST_F(MainWindowFixture, ScreenshotsOfTheReportDialogs) {
    load(write("card.rom", RomBuilder().engineFeedback(0x64)));
    shootReportDialogs(
        *dlg,
        write("dump.rom", RomBuilder().deviceId(0x5446).poke(RomBuilder::kFont8x16 + 0x41 * 16,
                                                             {0x00, 0x18, 0x3C})),
        "");
}

TEST_F(RussianFixture, ScreenshotsOfTheReportDialogsInRussian) {
    ASSERT_TRUE(language.starts_with("ru")) << language;
    load(write("card.rom", RomBuilder().engineFeedback(0x64)));
    shootReportDialogs(
        *dlg,
        write("dump.rom", RomBuilder().deviceId(0x5446).poke(RomBuilder::kFont8x16 + 0x41 * 16,
                                                             {0x00, 0x18, 0x3C})),
        "-ru");
}

}  // namespace
}  // namespace vorlane::test
