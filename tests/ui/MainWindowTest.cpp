// The main window driven through its real widgets: loading, the failures, clocks, TV standard,
// checksum switch, saving, file errors, keys, the window menu and help.
#include <filesystem>
#include <iterator>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "image/Clock.h"
#include "res/Strings.h"
#include "tests/ui/MainWindowFixture.h"
#include "tests/ui/TextChecks.h"

namespace vorlane::test {

CEditorApp& testApp() {
    static CEditorApp app;
    return app;
}

namespace {

using namespace res;
using B = RomBuilder;

TEST_F(MainWindowFixture, LoadOfValidImageFillsEveryControl) {
    const std::string path = write("card.rom", B().engineFeedback(0x64).memoryFeedback(0x5A));
    load(path);
    const auto& open = lastAsked();
    EXPECT_EQ(open.kind, dk::ScriptedPrompts::Asked::OpenFile);
    EXPECT_EQ(open.file.filter, CMainDlg::kRomFilter);
    EXPECT_TRUE(open.file.flags & dk::OFN_FILEMUSTEXIST);

    // Reference 2700 over divider 12: a step of 225, so 0x64 (100) is exactly 225 MHz; the
    // spins run from 44 to 222 and stand at 100 and 0x5A (90); NTSC is entry 1.
    EXPECT_EQ(shown(),
              path +
                  " | VORLANE TEST BIOS R7000 64MB   RADEON 7000 TEST BOARD 64MB DDR  "
                  "400/400 | 225.00 | 202.50 | sync 0 off 0 tv 1 | 44 222 100 | 44 222 90");
}

TEST_F(MainWindowFixture, SpinRangeStaysInsideTheFeedbackByte) {
    // The image, the engine clock text, the engine spin's lower bound, upper bound and position,
    // and the engine feedback after two steps up.
    const std::vector<std::tuple<B, std::string, std::vector<int>, int>> cases = {
        // A step of 337.5: feedback 1 shows 3.37 (not 3.38) and lies below the range, so the
        // next step stores a position inside it.
        {B().referenceDivider(8).engineFeedback(1), "3.37", {29, 148, 29}, 31},
        // A step of 100: 100 to 500 is cut to 100 to 255, where stepping stops.
        {B().referenceFrequency(1200).engineFeedback(254), "254.00", {100, 255, 254}, 255},
        // Reference 0 passes validation with a step clock of 0: the whole byte is offered.
        {B().referenceFrequency(0).engineFeedback(7), "0.00", {0, 255, 7}, 9},
    };
    for (const auto& [image, chip, state, stepped] : cases) {
        SCOPED_TRACE(chip);
        load(write("clock.rom", image));
        EXPECT_EQ(text(IDC_CHIP_TEXT), chip);
        const drive::UpDownState chipSpin = spin(IDC_CHIP_SPIN);
        EXPECT_EQ(state, (std::vector{chipSpin.lower, chipSpin.upper, chipSpin.position}));
        step(IDC_MEM_SPIN, +1);  // either spin stores the engine spin's position
        step(IDC_CHIP_SPIN, +1);
        step(IDC_CHIP_SPIN, +1);
        EXPECT_EQ(dlg->m_image.engineFeedback(), stepped);
        EXPECT_EQ(text(IDC_CHIP_TEXT), clockText(stepped, dlg->m_image.stepClock));
    }
}

TEST_F(MainWindowFixture, EachFailedStatusShowsItsMessageInAnErrorBox) {
    const std::vector<std::pair<RomStatus, B>> cases = {
        {kRomTooSmall, B().fileSize(16383)},
        {kRomNoSignature, B().signature(0x55, 0x00)},
        {kRomTruncated, B().fileSize(32768)},
        {kRomNotAti, B().atiText(" 761295521")},
        {kRomNoPll, B().pllOffset(0)},
        {kRomBadChecksum, B().checksum(B::Checksum::Broken)},
        {kRomNoClockRecord, B().clockRecordAt(std::nullopt)},
    };
    load(write("good.rom", B()));  // texts to be cleared by each failure
    for (const auto& [status, builder] : cases) {
        SCOPED_TRACE("status " + std::to_string(status));
        scripted.answerMessage(dk::IDOK);
        const std::string path = write("bad.rom", builder);
        load(path);
        EXPECT_EQ(errorText(), CRomImage::statusMessage(status));
        EXPECT_EQ(lastAsked().message.caption, "Error");
        EXPECT_EQ(lastAsked().message.type, dk::MB_OK | dk::MB_ICONSTOP);
        EXPECT_EQ(text(IDC_PATH), path);
        EXPECT_EQ(text(IDC_BIOS_TEXT) + text(IDC_CHIP_TEXT) + text(IDC_MEM_TEXT), "");
    }
}

TEST_F(MainWindowFixture, SpinsAndSynchClocks) {
    load(write("card.rom", B().engineFeedback(0x60).memoryFeedback(0x5A)));
    // Each action and the engine and memory feedback it leaves, in the image, spins and texts.
    const std::vector<std::tuple<const char*, std::function<void()>, int, int>> script = {
        {"engine up", [&] { step(IDC_CHIP_SPIN, +1); }, 0x61, 0x5A},
        {"ticked: memory follows at once", [&] { click(IDC_SYNC_CLOCKS); }, 0x61, 0x61},
        {"memory up, no lasting effect", [&] { step(IDC_MEM_SPIN, +1); }, 0x61, 0x61},
        {"arrow key in the buddy",
         [&] { drive::pressKey(dlg->GetDlgItem(IDC_CHIP_TEXT), drive::Key::Up); }, 0x62, 0x62},
        {"clearing changes no clock", [&] { click(IDC_SYNC_CLOCKS); }, 0x62, 0x62},
        {"memory down", [&] { step(IDC_MEM_SPIN, -1); }, 0x62, 0x61},
    };
    for (const auto& [name, action, engine, memory] : script) {
        SCOPED_TRACE(name);
        action();
        EXPECT_EQ(std::make_pair(dlg->m_image.engineFeedback(), dlg->m_image.memoryFeedback()),
                  std::make_pair(uint8_t(engine), uint8_t(memory)));
        EXPECT_EQ(std::make_pair(spin(IDC_CHIP_SPIN).position, spin(IDC_MEM_SPIN).position),
                  std::make_pair(engine, memory));
        EXPECT_EQ(text(IDC_CHIP_TEXT) + " " + text(IDC_MEM_TEXT),
                  clockText(engine, 225.0f) + " " + clockText(memory, 225.0f));
    }
    load(write("same.rom", B().engineFeedback(0x70).memoryFeedback(0x70)));
    EXPECT_TRUE(checked(IDC_SYNC_CLOCKS));
    load(write("differ.rom", B().engineFeedback(0x70).memoryFeedback(0x71)));
    EXPECT_FALSE(checked(IDC_SYNC_CLOCKS));
}

TEST_F(MainWindowFixture, TvStandardList) {
    const size_t tvByte = RomBuilder::kTv + 7;
    ASSERT_EQ(drive::count(tvCombo()), 3);
    load(write("pal.rom", B().tvByte7(0x32)));
    EXPECT_EQ(drive::text(tvCombo()), "PAL");
    chooseTv(0);  // "None" is not offered to an image with a TV table
    EXPECT_EQ(drive::text(tvCombo()), "NTSC");
    EXPECT_EQ(byteAt(tvByte), 1);
    chooseTv(2);
    EXPECT_EQ(byteAt(tvByte), 2);

    load(write("odd.rom", B().tvByte7(0x05)));
    EXPECT_EQ(drive::currentIndex(tvCombo()), -1);
    chooseTv(2);
    EXPECT_EQ(byteAt(tvByte), 2);

    load(write("notv.rom", B().tvMagic("$XX").tvByte7(0x02)));
    EXPECT_EQ(drive::text(tvCombo()), "None");
    chooseTv(2);  // the list moves, the image does not
    EXPECT_EQ(dlg->m_image.tvStandard, 0);
    EXPECT_EQ(byteAt(tvByte), 0x02);
}

TEST_F(MainWindowFixture, ChecksumBoxAndSwitchAlwaysAgree) {
    const std::string broken = write("broken.rom", B().checksum(B::Checksum::Broken));
    const auto agree = [&](bool on) {
        EXPECT_EQ(checked(IDC_CHECKSUM_OFF), on);
        EXPECT_EQ(dlg->m_image.skipChecksum, on ? 1 : 0);
    };
    click(IDC_CHECKSUM_OFF);
    agree(true);
    load(broken);  // accepted without a box, and the load clears both
    EXPECT_EQ(scripted.asked().size(), 1u);
    agree(false);

    scripted.answerMessage(dk::IDOK);
    load(broken);  // the box shows the test on, and it is on
    EXPECT_EQ(lastAsked().message.text, CRomImage::statusMessage(kRomBadChecksum));

    click(IDC_CHECKSUM_OFF);
    agree(true);
    scripted.answerFile(dir.file("saved.rom"));
    click(IDC_SAVE_BIOS);
    agree(false);
}

TEST_F(MainWindowFixture, GatesAreClosedBeforeTheFirstLoad) {
    const auto before = dlg->m_image.data;
    click(IDC_SAVE_BIOS);
    click(IDC_FONT);
    click(IDC_SUBSYS);
    EXPECT_TRUE(scripted.asked().empty());

    step(IDC_CHIP_SPIN, +1);  // the spin moves, the handler empties the texts
    EXPECT_EQ(text(IDC_CHIP_TEXT) + text(IDC_MEM_TEXT), "");
    click(IDC_SYNC_CLOCKS);  // shows ticked, but the member keeps its value
    EXPECT_TRUE(checked(IDC_SYNC_CLOCKS));
    EXPECT_EQ(dlg->m_syncClocks, 0);
    step(IDC_CHIP_SPIN, +1);  // the next push of members shows that again
    EXPECT_FALSE(checked(IDC_SYNC_CLOCKS));
    chooseTv(2);
    EXPECT_TRUE(dlg->m_image.data == before);
}

TEST_F(MainWindowFixture, SaveWritesWhatTheCoreWrites) {
    const std::vector<std::tuple<const char*, B, bool>> cases = {
        {"edited", B(), false},
        {"declaring 32 KiB", B().declaredBlocks(0x40), false},
        {"failed on its checksum", B().checksum(B::Checksum::Broken), true},
    };
    for (const auto& [name, builder, fails] : cases) {
        SCOPED_TRACE(name);
        if (fails) {
            scripted.answerMessage(dk::IDOK);
        }
        load(write("card.rom", builder));
        step(IDC_CHIP_SPIN, +1);
        CRomImage core = dlg->m_image;
        core.saveFile(dir.file("core.rom"));
        const std::string out = dir.file("out.rom");
        scripted.answerFile(out);
        click(IDC_SAVE_BIOS);
        EXPECT_EQ(lastAsked().kind, dk::ScriptedPrompts::Asked::SaveFile);
        EXPECT_TRUE(lastAsked().file.flags & dk::OFN_OVERWRITEPROMPT);
        EXPECT_EQ(readBytes(out), readBytes(dir.file("core.rom")));
        EXPECT_EQ(text(IDC_PATH), out);
    }
}

// What is no BIOS of this family is never written back: saving it would cut or empty a file.
// Nothing is asked but the error box, and nothing is written.
TEST_F(MainWindowFixture, SaveRefusesWhatIsNoBiosOfThisFamily) {
    for (const auto& [name, builder] : std::vector<std::pair<const char*, B>>{
             {"status 1, too small", B().fileSize(16383)},
             {"status 4, declaring no block", B().declaredBlocks(0)},
             {"status 1, empty", B().fileSize(0)}}) {
        SCOPED_TRACE(name);
        scripted.answerMessage(dk::IDOK);
        load(write("card.rom", builder));
        const size_t asked = scripted.asked().size();
        scripted.answerMessage(dk::IDOK);
        click(IDC_SAVE_BIOS);
        ASSERT_EQ(scripted.asked().size(), asked + 1);
        const std::string box = errorText();
        EXPECT_EQ(lastAsked().message.caption, "Error");
        EXPECT_EQ(box.rfind("This image cannot be saved: ", 0), 0u) << box;
        EXPECT_TRUE(scripted.drained());
    }
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.path()), {}), 1);

    // The refusal was of the image refused: the next one, valid, is saved.
    load(write("card.rom", B()));
    scripted.answerFile(dir.file("out.rom"));
    click(IDC_SAVE_BIOS);
    EXPECT_EQ(readBytes(dir.file("out.rom")), readBytes(dir.file("card.rom")));
}

TEST_F(MainWindowFixture, CancelledOpenAndFileErrorsLeaveTheEditedImageAndTheWindowWorking) {
    const std::string good = write("card.rom", B().engineFeedback(0x64));
    load(good);
    step(IDC_CHIP_SPIN, +1);
    const auto edited = dlg->m_image.data;
    const std::string before = shown();
    const std::string unwritable = dir.file("no-such-folder/out.rom");
    // Only regular files are read, and written: a FIFO or a device would freeze the window in
    // its read, or in the open of its save. A reader holds the FIFO open, so that a save that
    // wrongly writes into it fails this test instead of hanging it.
    const std::string noFile = "No such file or directory", notRegular = "Not a regular file";
#ifdef _WIN32
    // Windows makes no FIFO in a folder (its pipes live apart, under \\.\pipe); its device NUL
    // stands where /dev/null stands here.
    const std::vector<std::string> notFiles = {"NUL"};
#else
    const std::string fifo = dir.file("fifo.rom");
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    const int reader = ::open(fifo.c_str(), O_RDONLY | O_NONBLOCK);
    ASSERT_GE(reader, 0);
    const std::vector<std::string> notFiles = {fifo, "/dev/null"};
#endif
    // The loads first: a save may fix the image's checksum.
    std::vector<std::tuple<int, std::optional<std::string>, std::string>> cases = {
        {IDC_LOAD_BIOS, std::nullopt, ""},
        {IDC_LOAD_BIOS, dir.file("gone.rom"), noFile},
    };
    for (const std::string& path : notFiles) {
        cases.emplace_back(IDC_LOAD_BIOS, path, notRegular);
    }
    cases.emplace_back(IDC_SAVE_BIOS, unwritable, noFile);
    for (const std::string& path : notFiles) {
        cases.emplace_back(IDC_SAVE_BIOS, path, notRegular);
    }
    for (const auto& [button, path, reason] : cases) {
        SCOPED_TRACE(path.value_or("cancelled"));
        scripted.answerFile(path);
        if (!reason.empty()) {
            scripted.answerMessage(dk::IDOK);
        }
        click(button);
        if (!reason.empty()) {
            const std::string box = errorText();
            EXPECT_NE(box.find(*path), std::string::npos);
            EXPECT_NE(box.find(reason), std::string::npos) << box;
        }
        // Nothing claims the failed file; the edited image stays (a save may fix its checksum).
        EXPECT_EQ(shown(), before);
        EXPECT_TRUE(button == IDC_SAVE_BIOS || dlg->m_image.data == edited);
        EXPECT_EQ(dlg->m_image.engineFeedback(), 0x65);
    }
    EXPECT_FALSE(std::filesystem::exists(unwritable));
#ifndef _WIN32
    char byte = 0;
    EXPECT_LE(::read(reader, &byte, 1), 0) << "a save wrote into the FIFO";
    ::close(reader);
#endif
    load(write("next.rom", B().engineFeedback(0x50)));
    EXPECT_EQ(text(IDC_CHIP_TEXT), "180.00");
}

TEST_F(MainWindowFixture, CaptionFocusAccessibleNamesAndKeys) {
    EXPECT_EQ(dlg->GetWindowText(),
              "   vorlane.example.org     Vorlane for Radeon 7000/9800 - Version 2.5");
    EXPECT_TRUE(drive::hasIcon(dlg->window()));
    EXPECT_EQ(drive::focus(), dlg->GetDlgItem(dk::IDCANCEL));
    for (const dk::WindowHandle control : drive::controls(dlg->window())) {
        EXPECT_FALSE(drive::accessibleName(control).empty()) << drive::text(control);
    }
    // Named by the label above or on the left.
    EXPECT_EQ(drive::accessibleName(dlg->GetDlgItem(IDC_MEM_SPIN)), "MEM");
    EXPECT_EQ(drive::accessibleName(dlg->GetDlgItem(IDC_CHIP_TEXT)), "Chip");
    EXPECT_EQ(drive::accessibleName(dlg->GetDlgItem(IDC_PATH)), "Open File");

    scripted.answerMessage(dk::IDOK);
    drive::pressKey(dlg->GetDlgItem(dk::IDCANCEL), drive::Key::F1);
    EXPECT_EQ(lastAsked().message.text, loadString(IDS_HELP_TEXT));
    EXPECT_NE(lastAsked().message.text.find("Load Bios"), std::string::npos);

    const dk::WindowHandle loadButton = dlg->GetDlgItem(IDC_LOAD_BIOS);
    drive::setFocus(loadButton);
    scripted.answerFile(std::nullopt);
    drive::pressKey(loadButton, drive::Key::Return);  // presses the focused button
    EXPECT_EQ(lastAsked().kind, dk::ScriptedPrompts::Asked::OpenFile);
    const dk::WindowHandle pathEdit = dlg->GetDlgItem(IDC_PATH);
    drive::setFocus(pathEdit);
    drive::pressKey(pathEdit, drive::Key::Return);  // never closes the window
    drive::pressKey(pathEdit, drive::Key::Enter);
    EXPECT_TRUE(drive::isVisible(dlg->window()));
    drive::pressKey(pathEdit, drive::Key::Escape);
    EXPECT_FALSE(drive::isVisible(dlg->window()));
}

TEST_F(MainWindowFixture, AboutBoxFromTheWindowMenuByKeyAndByRightClick) {
    const dk::WindowHandle window = dlg->window();
    for (const bool byKey : {true, false}) {
        std::vector<std::string> seen;
        drive::ModalDriver menuDriver;
        drive::ModalDriver aboutDriver;
        menuDriver.onNext([&](dk::WindowHandle popup) {
            const std::vector<drive::MenuItem> items = drive::menuItems(popup);
            for (const drive::MenuItem& item : items) {
                seen.push_back(item.text);
            }
            aboutDriver.onNext([&](dk::WindowHandle box) {
                seen.push_back(drive::caption(box));
                for (const drive::ShownText& shown : drive::shownTexts(box)) {
                    seen.push_back(shown.text);
                }
                drive::pressKey(box, drive::Key::Return);  // OK is the default button
            });
            for (size_t i = 0; i < items.size(); ++i) {
                if (items[i].text.starts_with("&About Vorlane")) {
                    drive::chooseMenuItem(popup, static_cast<int>(i));
                }
            }
        });
        drive::openWindowMenu(window, byKey);
        EXPECT_TRUE(aboutDriver.fired());
#ifdef _WIN32
        // The native window menu: the system's own entries (Restore, Move, ... and Close, and
        // under Wine its "About Wine"), then the kit's after a separator.
        const auto about = std::find(seen.begin(), seen.end(), "&About Vorlane_25...");
        ASSERT_NE(about, seen.end()) << joined(seen);
        EXPECT_NE(std::find(seen.begin(), about, "&Close"), about) << joined(seen);
        ASSERT_GE(seen.end() - about, 4);
        EXPECT_EQ(*(about - 1), "");
        EXPECT_EQ(std::vector(about, about + 4),
                  (std::vector<std::string>{"&About Vorlane_25...", "Co&mpare with File...",
                                            "Chec&k for Flashing...", "About Vorlane"}));
#else
        ASSERT_GE(seen.size(), 6u);
        EXPECT_EQ(
            std::vector(seen.begin(), seen.begin() + 6),
            (std::vector<std::string>{"&Close", "", "&About Vorlane_25...", "Co&mpare with File...",
                                      "Chec&k for Flashing...", "About Vorlane"}));
#endif
        EXPECT_NE(std::find(seen.begin(), seen.end(), "Vorlane  Version 2.5"), seen.end())
            << joined(seen);
    }
}

}  // namespace
}  // namespace vorlane::test
