// The main window driven through its real widgets: loading, the failures, clocks, TV standard,
// checksum switch, saving, file errors, keys and the window menu.
#include <QAccessible>
#include <QApplication>
#include <QContextMenuEvent>
#include <QLabel>
#include <QMenu>
#include <filesystem>

#include "Clock.h"
#include "MainWindowFixture.h"
#include "ModalDriver.h"
#include "res/Strings.h"

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
    ASSERT_EQ(scripted.asked().size(), 1u);
    const auto& open = scripted.asked()[0];
    EXPECT_EQ(open.kind, dk::ScriptedPrompts::Asked::OpenFile);
    EXPECT_EQ(open.file.filter, CMainDlg::kRomFilter);
    EXPECT_EQ(open.file.defaultExt, "rom");
    EXPECT_TRUE(open.file.flags & dk::OFN_FILEMUSTEXIST);

    EXPECT_EQ(text(IDC_PATH), path);
    EXPECT_EQ(text(IDC_BIOS_TEXT),
              "VORLANE TEST BIOS R7000 64MB   RADEON 7000 TEST BOARD 64MB DDR  400/400");
    // Reference 2700 over divider 12: a step of 225, so 0x64 is exactly 225 MHz.
    EXPECT_EQ(text(IDC_CHIP_TEXT), "225.00");
    EXPECT_EQ(text(IDC_MEM_TEXT), "202.50");
    EXPECT_EQ(spin(IDC_CHIP_SPIN)->lower(), 44);
    EXPECT_EQ(spin(IDC_CHIP_SPIN)->upper(), 222);
    EXPECT_EQ(spin(IDC_MEM_SPIN)->lower(), 44);
    EXPECT_EQ(spin(IDC_MEM_SPIN)->upper(), 222);
    EXPECT_EQ(spin(IDC_CHIP_SPIN)->position(), 0x64);
    EXPECT_EQ(spin(IDC_MEM_SPIN)->position(), 0x5A);
    EXPECT_FALSE(checked(IDC_SYNC_CLOCKS));
    EXPECT_EQ(tvCombo()->currentIndex(), 1);
    EXPECT_EQ(tvCombo()->currentText(), "NTSC");
    EXPECT_FALSE(checked(IDC_CHECKSUM_OFF));
    EXPECT_EQ(dlg->m_loaded, 1);
}

TEST_F(MainWindowFixture, FeedbackOutsideRangeShowsItsClockWhileSpinHoldsBound) {
    // Divider 8: a step of 337.5, where feedback 1 shows 3.37 (not 3.38) and lies below the range.
    load(write("low.rom", B().referenceDivider(8).engineFeedback(1).memoryFeedback(64)));
    EXPECT_EQ(text(IDC_CHIP_TEXT), "3.37");
    EXPECT_EQ(text(IDC_MEM_TEXT), "216.00");
    EXPECT_EQ(spin(IDC_CHIP_SPIN)->lower(), 29);
    EXPECT_EQ(spin(IDC_CHIP_SPIN)->upper(), 148);
    EXPECT_EQ(spin(IDC_CHIP_SPIN)->position(), 29);
    EXPECT_EQ(byteAt(dlg->m_image.engineFeedbackOffset), 1);

    // The next scroll of either spin stores the engine spin's position, inside the range.
    step(IDC_MEM_SPIN, +1);
    EXPECT_EQ(dlg->m_image.engineFeedback(), 29);
    EXPECT_EQ(dlg->m_image.memoryFeedback(), 65);
    EXPECT_EQ(text(IDC_CHIP_TEXT), clockText(29, 337.5f));
}

TEST_F(MainWindowFixture, SpinRangeNeverLeavesTheFeedbackByte) {
    // Step 100: the range 100 to 500 is cut to 100 to 255, so stepping up stops at 255.
    load(write("fast.rom", B().referenceFrequency(1200).engineFeedback(254).memoryFeedback(200)));
    EXPECT_EQ(spin(IDC_CHIP_SPIN)->lower(), 100);
    EXPECT_EQ(spin(IDC_CHIP_SPIN)->upper(), 255);
    step(IDC_CHIP_SPIN, +1);
    step(IDC_CHIP_SPIN, +1);
    EXPECT_EQ(dlg->m_image.engineFeedback(), 255);
    EXPECT_EQ(text(IDC_CHIP_TEXT), "255.00");

    // Reference frequency 0 passes validation with a step clock of 0: the whole byte is offered.
    load(write("zero.rom", B().referenceFrequency(0).engineFeedback(7)));
    EXPECT_EQ(spin(IDC_CHIP_SPIN)->lower(), 0);
    EXPECT_EQ(spin(IDC_CHIP_SPIN)->upper(), 255);
    EXPECT_EQ(spin(IDC_CHIP_SPIN)->position(), 7);
    EXPECT_EQ(text(IDC_CHIP_TEXT), "0.00");
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
        scripted.clear();
        scripted.answerMessage(dk::IDOK);
        const std::string path = write("bad" + std::to_string(status) + ".rom", builder);
        load(path);
        ASSERT_EQ(scripted.asked().size(), 2u);
        const auto& box = scripted.asked()[1];
        EXPECT_EQ(box.kind, dk::ScriptedPrompts::Asked::Message);
        EXPECT_EQ(box.message.caption, "Error");
        EXPECT_EQ(box.message.text, CRomImage::statusMessage(status));
        EXPECT_EQ(box.message.type, dk::MB_OK | dk::MB_ICONSTOP);
        EXPECT_TRUE(box.ownerSet);
        EXPECT_EQ(text(IDC_PATH), path);
        EXPECT_EQ(text(IDC_BIOS_TEXT), "");
        EXPECT_EQ(text(IDC_CHIP_TEXT), "");
        EXPECT_EQ(text(IDC_MEM_TEXT), "");
        EXPECT_EQ(dlg->m_loaded, 1);
    }
}

TEST_F(MainWindowFixture, SpinsAndSynchClocks) {
    load(write("card.rom", B().engineFeedback(0x60).memoryFeedback(0x5A)));
    step(IDC_CHIP_SPIN, +1);
    EXPECT_EQ(dlg->m_image.engineFeedback(), 0x61);
    EXPECT_EQ(dlg->m_image.memoryFeedback(), 0x5A);
    EXPECT_EQ(text(IDC_CHIP_TEXT), clockText(0x61, 225.0f));

    click(IDC_SYNC_CLOCKS);  // ticked: memory follows the engine at once
    EXPECT_EQ(dlg->m_syncClocks, 1);
    EXPECT_EQ(dlg->m_image.memoryFeedback(), 0x61);
    EXPECT_EQ(spin(IDC_MEM_SPIN)->position(), 0x61);
    EXPECT_EQ(text(IDC_MEM_TEXT), text(IDC_CHIP_TEXT));

    step(IDC_MEM_SPIN, +1);  // no lasting effect while synchronised
    EXPECT_EQ(dlg->m_image.memoryFeedback(), 0x61);
    EXPECT_EQ(spin(IDC_MEM_SPIN)->position(), 0x61);
    QTest::keyClick(dlg->GetDlgItem(IDC_CHIP_TEXT), Qt::Key_Up);  // arrow key in the buddy
    EXPECT_EQ(dlg->m_image.engineFeedback(), 0x62);
    EXPECT_EQ(dlg->m_image.memoryFeedback(), 0x62);

    click(IDC_SYNC_CLOCKS);  // clearing changes no clock
    EXPECT_EQ(dlg->m_syncClocks, 0);
    EXPECT_EQ(dlg->m_image.engineFeedback(), 0x62);
    EXPECT_EQ(dlg->m_image.memoryFeedback(), 0x62);
    step(IDC_MEM_SPIN, -1);
    EXPECT_EQ(dlg->m_image.memoryFeedback(), 0x61);
    EXPECT_EQ(dlg->m_image.engineFeedback(), 0x62);

    load(write("same.rom", B().engineFeedback(0x70).memoryFeedback(0x70)));
    EXPECT_TRUE(checked(IDC_SYNC_CLOCKS));
    load(write("differ.rom", B().engineFeedback(0x70).memoryFeedback(0x71)));
    EXPECT_FALSE(checked(IDC_SYNC_CLOCKS));
}

TEST_F(MainWindowFixture, TvStandardList) {
    const size_t tvByte = RomBuilder::kTv + 7;
    load(write("pal.rom", B().tvByte7(0x32)));
    EXPECT_EQ(tvCombo()->currentText(), "PAL");
    chooseTv(0);  // "None" is not offered to an image with a TV table
    EXPECT_EQ(tvCombo()->currentIndex(), 1);
    EXPECT_EQ(byteAt(tvByte), 1);
    chooseTv(2);
    EXPECT_EQ(byteAt(tvByte), 2);
    EXPECT_EQ(dlg->m_image.tvStandard, 2);

    load(write("odd.rom", B().tvByte7(0x05)));
    EXPECT_EQ(tvCombo()->currentIndex(), -1);
    chooseTv(2);
    EXPECT_EQ(byteAt(tvByte), 2);

    load(write("notv.rom", B().tvMagic("$XX").tvByte7(0x02)));
    EXPECT_EQ(tvCombo()->currentText(), "None");
    chooseTv(2);  // the list moves, the image does not
    EXPECT_EQ(tvCombo()->currentIndex(), 2);
    EXPECT_EQ(dlg->m_image.tvStandard, 0);
    EXPECT_EQ(byteAt(tvByte), 0x02);
}

TEST_F(MainWindowFixture, ChecksumBoxAndSwitchAlwaysAgree) {
    const std::string broken = write("broken.rom", B().checksum(B::Checksum::Broken));
    click(IDC_CHECKSUM_OFF);
    EXPECT_EQ(dlg->m_image.skipChecksum, 1);
    load(broken);  // accepted, no box
    EXPECT_EQ(scripted.asked().size(), 1u);
    EXPECT_FALSE(checked(IDC_CHECKSUM_OFF));
    EXPECT_EQ(dlg->m_image.skipChecksum, 0);

    scripted.answerMessage(dk::IDOK);
    load(broken);  // the box shows the test on, and it is on
    EXPECT_EQ(lastAsked().message.text, CRomImage::statusMessage(kRomBadChecksum));

    click(IDC_CHECKSUM_OFF);
    EXPECT_EQ(dlg->m_image.skipChecksum, 1);
    scripted.answerFile(dir.file("saved.rom"));
    click(IDC_SAVE_BIOS);
    EXPECT_FALSE(checked(IDC_CHECKSUM_OFF));
    EXPECT_EQ(dlg->m_image.skipChecksum, 0);
}

TEST_F(MainWindowFixture, GatesAreClosedBeforeTheFirstLoad) {
    const auto before = dlg->m_image.data;
    click(IDC_SAVE_BIOS);
    click(IDC_FONT);
    click(IDC_SUBSYS);
    EXPECT_TRUE(scripted.asked().empty());

    step(IDC_CHIP_SPIN, +1);  // the spin moves, the handler empties the texts
    EXPECT_EQ(text(IDC_CHIP_TEXT), "");
    EXPECT_EQ(text(IDC_MEM_TEXT), "");

    click(IDC_SYNC_CLOCKS);  // shows ticked, but the member keeps its value
    EXPECT_TRUE(checked(IDC_SYNC_CLOCKS));
    EXPECT_EQ(dlg->m_syncClocks, 0);
    step(IDC_CHIP_SPIN, +1);  // the next push of members shows that again
    EXPECT_FALSE(checked(IDC_SYNC_CLOCKS));

    chooseTv(2);
    EXPECT_EQ(dlg->m_image.tvStandard, 0);
    EXPECT_TRUE(dlg->m_image.data == before);
}

TEST_F(MainWindowFixture, SaveWritesWhatTheCoreWrites) {
    load(write("card.rom", B()));
    step(IDC_CHIP_SPIN, +1);
    const std::string out = dir.file("out.rom");
    scripted.answerFile(out);
    click(IDC_SAVE_BIOS);
    const auto& save = lastAsked();
    EXPECT_EQ(save.kind, dk::ScriptedPrompts::Asked::SaveFile);
    EXPECT_EQ(save.file.defaultExt, "rom");
    EXPECT_TRUE(save.file.flags & dk::OFN_OVERWRITEPROMPT);
    EXPECT_EQ(save.file.filter, CMainDlg::kRomFilter);

    const std::vector<uint8_t> saved = readBytes(out);
    ASSERT_EQ(saved.size(), 65536u);
    EXPECT_TRUE(std::equal(saved.begin(), saved.end(), dlg->m_image.data.begin()));
    EXPECT_EQ(byteSum(saved), 0);
    EXPECT_EQ(saved[dlg->m_image.engineFeedbackOffset], 0x61);
    EXPECT_EQ(text(IDC_PATH), out);

    // A 64 KiB file that declares 32 KiB is saved as 32 KiB.
    load(write("half.rom", B().declaredBlocks(0x40)));
    scripted.answerFile(out);
    click(IDC_SAVE_BIOS);
    EXPECT_EQ(readBytes(out).size(), 32768u);

    // After a failure before parsing, the bytes read are saved with a checksum.
    scripted.answerMessage(dk::IDOK);
    load(write("short.rom", B().fileSize(16383)));
    scripted.answerFile(out);
    click(IDC_SAVE_BIOS);
    const std::vector<uint8_t> shortSaved = readBytes(out);
    EXPECT_EQ(shortSaved.size(), 16383u);
    EXPECT_EQ(byteSum(shortSaved), 0);
    EXPECT_EQ(text(IDC_CHIP_TEXT), "");
}

TEST_F(MainWindowFixture, CancelledOpenKeepsTheEditedImage) {
    load(write("card.rom", B()));
    step(IDC_CHIP_SPIN, +1);
    const std::string chip = text(IDC_CHIP_TEXT);
    const std::string path = text(IDC_PATH);
    scripted.answerFile(std::nullopt);
    click(IDC_LOAD_BIOS);
    EXPECT_EQ(text(IDC_CHIP_TEXT), chip);
    EXPECT_EQ(text(IDC_PATH), path);
    EXPECT_EQ(dlg->m_image.engineFeedback(), 0x61);

    const std::string out = dir.file("after-cancel.rom");
    scripted.answerFile(out);
    click(IDC_SAVE_BIOS);
    const std::vector<uint8_t> saved = readBytes(out);
    ASSERT_EQ(saved.size(), 65536u);
    EXPECT_EQ(saved[dlg->m_image.engineFeedbackOffset], 0x61);
}

TEST_F(MainWindowFixture, FileErrorsAreReportedAndTheWindowKeepsWorking) {
    const std::string good = write("card.rom", B().engineFeedback(0x64));
    load(good);
    const std::string missing = dir.file("gone.rom");
    scripted.answerMessage(dk::IDOK);
    load(missing);
    const auto& box = lastAsked();
    EXPECT_EQ(box.kind, dk::ScriptedPrompts::Asked::Message);
    EXPECT_NE(box.message.text.find(missing), std::string::npos);
    EXPECT_NE(box.message.text.find("No such file or directory"), std::string::npos);
    EXPECT_EQ(box.message.type & dk::MB_ICONMASK, dk::MB_ICONSTOP);
    // The image and the window are as they were.
    EXPECT_EQ(text(IDC_PATH), good);
    EXPECT_EQ(text(IDC_CHIP_TEXT), "225.00");
    EXPECT_EQ(dlg->m_image.engineFeedback(), 0x64);

    const std::string unwritable = dir.file("no-such-folder/out.rom");
    scripted.answerFile(unwritable);
    scripted.answerMessage(dk::IDOK);
    click(IDC_SAVE_BIOS);
    EXPECT_NE(lastAsked().message.text.find(unwritable), std::string::npos);
    EXPECT_FALSE(std::filesystem::exists(unwritable));
    EXPECT_EQ(text(IDC_PATH), good);  // nothing claims the failed file

    load(write("next.rom", B().engineFeedback(0x50)));
    EXPECT_EQ(text(IDC_CHIP_TEXT), "180.00");
    EXPECT_TRUE(dlg->window()->isVisible());
}

TEST_F(MainWindowFixture, EnterNeverClosesTheWindowButEscapeDoes) {
    QWidget* loadButton = dlg->GetDlgItem(IDC_LOAD_BIOS);
    loadButton->setFocus();
    scripted.answerFile(std::nullopt);
    QTest::keyClick(loadButton, Qt::Key_Return);  // presses the focused button
    EXPECT_EQ(scripted.asked().size(), 1u);

    QWidget* pathEdit = dlg->GetDlgItem(IDC_PATH);
    pathEdit->setFocus();
    QTest::keyClick(pathEdit, Qt::Key_Return);
    QTest::keyClick(pathEdit, Qt::Key_Enter);
    EXPECT_TRUE(dlg->window()->isVisible());

    QTest::keyClick(pathEdit, Qt::Key_Escape);
    EXPECT_FALSE(dlg->window()->isVisible());
}

TEST_F(MainWindowFixture, CaptionListAndAccessibleNames) {
    EXPECT_EQ(dlg->GetWindowText(),
              "   vorlane.example.org     Vorlane for Radeon 7000/9800 - Version 2.5");
    EXPECT_FALSE(dlg->window()->windowIcon().isNull());
    ASSERT_EQ(tvCombo()->count(), 3);
    EXPECT_EQ(tvCombo()->itemText(0), "None");
    EXPECT_EQ(tvCombo()->itemText(1), "NTSC");
    EXPECT_EQ(tvCombo()->itemText(2), "PAL");
    EXPECT_EQ(QApplication::focusWidget(), dlg->GetDlgItem(dk::IDCANCEL));

    for (QWidget* child : dlg->window()->findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
        if (child->objectName().startsWith("control-")) {
            EXPECT_FALSE(child->accessibleName().isEmpty()) << child->objectName().toStdString();
        }
    }
    EXPECT_EQ(dlg->GetDlgItem(IDC_MEM_SPIN)->accessibleName(), "MEM");
    EXPECT_EQ(dlg->GetDlgItem(IDC_CHIP_TEXT)->accessibleName(), "Chip");
    EXPECT_EQ(dlg->GetDlgItem(IDC_PATH)->accessibleName(), "Open File");
    EXPECT_EQ(dlg->GetDlgItem(IDC_TV_STANDARD)->accessibleName(), "Standart TV");
}

TEST_F(MainWindowFixture, AboutBoxFromTheWindowMenu) {
    QStringList items;
    QStringList aboutTexts;
    ModalDriver menuDriver;
    ModalDriver aboutDriver;
    const auto openAbout = [&](QWidget* popup) {
        auto* menu = qobject_cast<QMenu*>(popup);
        ASSERT_NE(menu, nullptr);
        items.clear();
        for (QAction* action : menu->actions()) {
            items << (action->isSeparator() ? QStringLiteral("-") : action->text());
        }
        menu->setActiveAction(menu->actions().constLast());
        QTest::keyClick(menu, Qt::Key_Return);
    };
    const auto readAbout = [&](QWidget* about) {
        aboutTexts.clear();
        aboutTexts << about->windowTitle();
        for (QLabel* label : about->findChildren<QLabel*>()) {
            if (!label->text().isEmpty()) {
                aboutTexts << label->text();
            } else if (!label->pixmap().isNull()) {
                aboutTexts << QStringLiteral("icon %1").arg(label->pixmap().width());
            }
        }
        QTest::keyClick(about, Qt::Key_Return);  // OK is the default button
    };

    menuDriver.onNext(ModalDriver::Kind::Popup, openAbout);
    aboutDriver.onNext(ModalDriver::Kind::Modal, readAbout);
    QTest::keyClick(dlg->window(), Qt::Key_Space, Qt::AltModifier);
    EXPECT_TRUE(menuDriver.fired());
    EXPECT_TRUE(aboutDriver.fired());
    EXPECT_FALSE(aboutDriver.timedOut());
    EXPECT_EQ(items, (QStringList{"&Close", "-", "&About Vorlane_25..."}));
    ASSERT_GE(aboutTexts.size(), 3);
    EXPECT_EQ(aboutTexts[0], "About Vorlane");
    EXPECT_TRUE(aboutTexts.contains("icon 32"));
    EXPECT_TRUE(aboutTexts.contains("Vorlane  Version 2.5"));

    // A right click on the window's background opens the same menu.
    menuDriver.onNext(ModalDriver::Kind::Popup, openAbout);
    aboutDriver.onNext(ModalDriver::Kind::Modal, readAbout);
    QWidget* window = dlg->window();
    const QPoint background(5, window->height() - 5);
    QContextMenuEvent rightClick(QContextMenuEvent::Mouse, background,
                                 window->mapToGlobal(background));
    QApplication::sendEvent(window, &rightClick);
    EXPECT_TRUE(aboutDriver.fired());
    EXPECT_TRUE(dlg->window()->isVisible());
}

TEST_F(MainWindowFixture, HelpKeyShowsTheProgramsHelp) {
    scripted.answerMessage(dk::IDOK);
    QTest::keyClick(dlg->GetDlgItem(dk::IDCANCEL), Qt::Key_F1);
    ASSERT_EQ(scripted.asked().size(), 1u);
    EXPECT_EQ(lastAsked().message.text, loadString(IDS_HELP_TEXT));
    EXPECT_NE(lastAsked().message.text.find("Load Bios"), std::string::npos);
}

}  // namespace
}  // namespace vorlane::test
