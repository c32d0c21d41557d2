// A main window created without a modal loop, with scripted prompts and synthetic images, driven
// through the kit's test driver.
#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <sstream>
#include <string>

#include "dialogkit/TestDriver.h"
#include "dialogkit/Translation.h"
#include "res/resource.h"
#include "tests/support/RomBuilder.h"
#include "tests/support/ScriptedPrompts.h"
#include "ui/EditorApp.h"
#include "ui/FontDlg.h"
#include "ui/MainDlg.h"

namespace vorlane::test {

namespace drive = dk::driver;

CEditorApp& testApp();

// The font dialog's grid: 16 x 16 cells, each a 16th of the frame's width and 16 / 256 of its
// height, centred in it. At the classic 6 x 13 dialog units (the Qt backend's) the 208 x 152 frame
// at (7, 7) is 312 x 247 pixels with 19 x 15 cells from 4 right of and 3 below its corner. Windows
// maps dialog units with the dialog font's own metrics (Wine's line is a pixel shorter, so its
// rows are 14 pixels), and the grid follows its frame.
struct GlyphGrid {
    dk::Rect frame;
    int cw = 0;
    int ch = 0;
    dk::Point origin;
};
inline GlyphGrid glyphGrid(dk::WindowHandle frameControl) {
    const dk::Rect frame = drive::geometry(frameControl);
    const int cw = frame.width() / 16;
    const int ch = frame.height() * 16 / 256;
    return {frame,
            cw,
            ch,
            {(frame.left + frame.right) / 2 - 8 * cw, (frame.top + frame.bottom) / 2 - 8 * ch}};
}

class MainWindowFixture : public ::testing::Test {
  protected:
    void SetUp() override {
        dk::setPrompts(&scripted);
        registerEditorResources(testApp());
        freshWindow();
    }
    void TearDown() override {
        EXPECT_EQ(scripted.unexpected(), 0) << "a prompt appeared that the test did not expect";
        EXPECT_TRUE(scripted.drained()) << "a scripted answer was never asked for";
        testApp().m_pMainWnd = nullptr;
        font.reset();
        dlg.reset();
        dk::setPrompts(nullptr);
    }
    // A main window that remembers nothing of an earlier one.
    void freshWindow() {
        testApp().m_pMainWnd = nullptr;
        dlg = std::make_unique<CMainDlg>();
        testApp().m_pMainWnd = dlg.get();
        ASSERT_TRUE(dlg->Create());
        drive::activate(dlg->window());
    }

    std::string write(const std::string& name, const RomBuilder& builder) {
        const std::string path = dir.file(name);
        builder.writeTo(path);
        return path;
    }
    // Loads a fresh image into the main window and shows a new font dialog over it.
    void openFontDialog() {
        load(write("card.rom", RomBuilder()));
        font = std::make_unique<CFontDlg>();
        font->m_pImage = &dlg->m_image;
        ASSERT_TRUE(font->Create());
        drive::activate(font->window());
    }
    void load(const std::string& path) {
        scripted.answerFile(path);
        click(res::IDC_LOAD_BIOS);
    }
    void click(int id) { drive::click(dlg->GetDlgItem(id)); }
    std::string text(int id) const { return dlg->GetDlgItemText(id); }
    bool checked(int id) const { return dlg->IsDlgButtonChecked(id) != 0; }

    drive::UpDownState spin(int id) const { return drive::upDown(dlg->GetDlgItem(id)); }
    // One click on the right (+1) or left (-1) arrow.
    void step(int id, int direction) {
        const dk::WindowHandle s = dlg->GetDlgItem(id);
        const dk::Rect r = drive::geometry(s);
        const int x = direction > 0 ? r.width() - 4 : 3;
        drive::clickAt(s, dk::Point{x, r.height() / 2});
    }
    dk::WindowHandle tvCombo() const { return dlg->GetDlgItem(res::IDC_TV_STANDARD); }
    // As the user picking an entry from the list.
    void chooseTv(int index) { drive::pick(tvCombo(), index); }
    // All the window shows: its texts, the boxes, the TV list, and each spin's lower bound, upper
    // bound and position.
    std::string shown() const {
        std::ostringstream out;
        for (int id : {res::IDC_PATH, res::IDC_BIOS_TEXT, res::IDC_CHIP_TEXT, res::IDC_MEM_TEXT}) {
            out << text(id) << " | ";
        }
        out << "sync " << checked(res::IDC_SYNC_CLOCKS) << " off " << checked(res::IDC_CHECKSUM_OFF)
            << " tv " << drive::currentIndex(tvCombo());
        for (int id : {res::IDC_CHIP_SPIN, res::IDC_MEM_SPIN}) {
            out << " | " << spin(id).lower << ' ' << spin(id).upper << ' ' << spin(id).position;
        }
        return out.str();
    }
    uint8_t byteAt(size_t offset) const { return dlg->m_image.data[offset]; }
    const dk::ScriptedPrompts::Asked& lastAsked() const {
        static const dk::ScriptedPrompts::Asked none{};
        return scripted.asked().empty() ? none : scripted.asked().back();
    }
    // The text of the last prompt, which must be an error box owned by a window.
    std::string errorText() const {
        const auto& box = lastAsked();
        EXPECT_EQ(box.kind, dk::ScriptedPrompts::Asked::Message);
        EXPECT_EQ(box.message.type & dk::MB_ICONMASK, dk::MB_ICONSTOP);
        EXPECT_TRUE(box.ownerSet);
        return box.message.text;
    }

    dk::ScriptedPrompts scripted;
    TempDir dir;
    std::unique_ptr<CMainDlg> dlg;
    std::unique_ptr<CFontDlg> font;  // after openFontDialog()
};

// The editor as a user whose locale asks for Russian sees it: the translation is installed before
// the window and the editor's resources, as the program does at start.
class RussianFixture : public MainWindowFixture {
  protected:
    void SetUp() override {
        language = dk::installTranslations("vorlane", {VORLANE_TRANSLATIONS_DIR}, "ru_RU");
        MainWindowFixture::SetUp();
    }
    void TearDown() override {
        MainWindowFixture::TearDown();
        dk::removeTranslations();
        registerEditorResources(testApp());  // the help text in English again
    }
    std::string language;
};

}  // namespace vorlane::test
