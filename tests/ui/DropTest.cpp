// Files dragged onto the main window, through real drag and drop events: one local file loads
// exactly as "Load Bios" loads it once the open dialog has returned that path; any other drag is
// refused while it is dragged, and its drop changes nothing.
#include <sys/stat.h>
#include <unistd.h>

#include <QCoreApplication>
#include <QDropEvent>
#include <QMimeData>
#include <QUrl>
#include <filesystem>

#include "MainWindowFixture.h"

namespace vorlane::test {
namespace {

using namespace res;
using B = RomBuilder;

// All a user or a later command could tell about a main window: its controls, its members and
// image, and the prompts it asked for.
struct Outcome {
    std::vector<std::string> texts;
    std::vector<bool> checks;
    int tvIndex = -1;
    std::vector<int> spins;  // lower, upper and position of each spin
    std::vector<uint8_t> image;
    int length = 0;
    int skipChecksum = 0;
    int loaded = 0;
    std::string statusMessage;
    std::vector<std::string> prompts;
};

std::string describe(const dk::ScriptedPrompts::Asked& asked) {
    switch (asked.kind) {
        case dk::ScriptedPrompts::Asked::OpenFile:
            return "open file";
        case dk::ScriptedPrompts::Asked::SaveFile:
            return "save file";
        case dk::ScriptedPrompts::Asked::Message:
            break;
    }
    return "box '" + asked.message.caption + "' type " + std::to_string(asked.message.type) +
           (asked.ownerSet ? " owned: " : " unowned: ") + asked.message.text;
}

class DropFixture : public MainWindowFixture {
  protected:
    struct Drag {
        bool entered = false;
        bool moved = false;
        bool dropped = false;
        Qt::DropAction action = Qt::IgnoreAction;
    };

    // Drags `mime` onto `target` (the main window unless given), moves it there and drops it,
    // as Qt delivers a drag from another program; then lets the window handle what it took.
    Drag dragAndDrop(const QMimeData& mime, QWidget* target = nullptr,
                     Qt::DropActions offered = Qt::CopyAction | Qt::MoveAction | Qt::LinkAction) {
        if (target == nullptr) {
            target = dlg->window();
        }
        const QPoint at(target->width() / 2, target->height() / 2);
        Drag result;
        QDragEnterEvent enter(at, offered, &mime, Qt::LeftButton, Qt::NoModifier);
        QCoreApplication::sendEvent(target, &enter);
        result.entered = enter.isAccepted();
        QDragMoveEvent move(at, offered, &mime, Qt::LeftButton, Qt::NoModifier);
        QCoreApplication::sendEvent(target, &move);
        result.moved = move.isAccepted();
        QDropEvent drop(QPointF(at), offered, &mime, Qt::LeftButton, Qt::NoModifier);
        QCoreApplication::sendEvent(target, &drop);
        result.dropped = drop.isAccepted();
        result.action = drop.dropAction();
        QCoreApplication::processEvents();
        return result;
    }

    static std::unique_ptr<QMimeData> files(const std::vector<QUrl>& urls) {
        auto mime = std::make_unique<QMimeData>();
        mime->setUrls(QList<QUrl>(urls.begin(), urls.end()));
        return mime;
    }
    static QUrl local(const std::string& path) {
        return QUrl::fromLocalFile(QString::fromStdString(path));
    }

    static Outcome outcome(const CMainDlg& window, const dk::ScriptedPrompts& prompts,
                           size_t promptsBefore) {
        Outcome o;
        for (int id : {IDC_PATH, IDC_BIOS_TEXT, IDC_CHIP_TEXT, IDC_MEM_TEXT}) {
            o.texts.push_back(window.GetDlgItemText(id));
        }
        for (int id : {IDC_SYNC_CLOCKS, IDC_CHECKSUM_OFF}) {
            o.checks.push_back(window.IsDlgButtonChecked(id) != 0);
        }
        o.tvIndex = qobject_cast<QComboBox*>(window.GetDlgItem(IDC_TV_STANDARD))->currentIndex();
        for (int id : {IDC_CHIP_SPIN, IDC_MEM_SPIN}) {
            const auto* s = dynamic_cast<const dk::UpDownWidget*>(window.GetDlgItem(id));
            o.spins.insert(o.spins.end(), {s->lower(), s->upper(), s->position()});
        }
        o.image.assign(window.m_image.data.begin(), window.m_image.data.end());
        o.length = window.m_image.length;
        o.skipChecksum = window.m_image.skipChecksum;
        o.loaded = window.m_loaded;
        o.statusMessage = window.m_statusMessage;
        for (size_t i = promptsBefore; i < prompts.asked().size(); ++i) {
            o.prompts.push_back(describe(prompts.asked()[i]));
        }
        return o;
    }

    static void expectSame(const Outcome& dropped, const Outcome& chosen) {
        EXPECT_EQ(dropped.texts, chosen.texts);
        EXPECT_EQ(dropped.checks, chosen.checks);
        EXPECT_EQ(dropped.tvIndex, chosen.tvIndex);
        EXPECT_EQ(dropped.spins, chosen.spins);
        EXPECT_TRUE(dropped.image == chosen.image) << "the images differ";
        EXPECT_EQ(dropped.length, chosen.length);
        EXPECT_EQ(dropped.skipChecksum, chosen.skipChecksum);
        EXPECT_EQ(dropped.loaded, chosen.loaded);
        EXPECT_EQ(dropped.statusMessage, chosen.statusMessage);
        EXPECT_EQ(dropped.prompts, chosen.prompts);
    }

    // A main window that remembers nothing of an earlier case.
    void freshWindow() {
        testApp().m_pMainWnd = nullptr;
        dlg = std::make_unique<CMainDlg>();
        testApp().m_pMainWnd = dlg.get();
        ASSERT_TRUE(dlg->Create());
    }

    // The window as a drop finds it: an earlier image loaded, one clock stepped and perhaps the
    // checksum box ticked, so that whatever a load keeps or replaces shows.
    void prepare(CMainDlg& window, bool checksumOff) {
        scripted.answerFile(write("earlier.rom", B().engineFeedback(0x50).memoryFeedback(0x50)));
        QTest::mouseClick(window.GetDlgItem(IDC_LOAD_BIOS), Qt::LeftButton);
        auto* chip = dynamic_cast<dk::UpDownWidget*>(window.GetDlgItem(IDC_CHIP_SPIN));
        QTest::mouseClick(chip, Qt::LeftButton, {}, QPoint(chip->width() - 4, chip->height() / 2));
        if (checksumOff) {
            QTest::mouseClick(window.GetDlgItem(IDC_CHECKSUM_OFF), Qt::LeftButton);
        }
    }
};

TEST_F(DropFixture, DroppedFileLoadsExactlyAsTheOpenDialogsChoice) {
    const std::string folder = dir.file("folder.rom");
    std::filesystem::create_directory(folder);
    const std::string locked = write("locked.rom", B());
    ::chmod(locked.c_str(), 0);
    const bool lockedIsUnreadable = ::geteuid() != 0;  // permission bits do not stop root

    struct Case {
        std::string name;
        std::string path;
        bool errorBox;
        bool checksumOff = false;
    };
    const std::vector<Case> cases = {
        {"valid", write("card.rom", B().engineFeedback(0x64).memoryFeedback(0x5A)), false},
        {"over 64 KiB", write("big.rom", B().fileSize(100000).engineFeedback(0x70)), false},
        {"status 1", write("s1.rom", B().fileSize(16383)), true},
        {"status 2", write("s2.rom", B().signature(0x55, 0x00)), true},
        {"status 3", write("s3.rom", B().fileSize(32768)), true},
        {"status 4", write("s4.rom", B().atiText(" 761295521")), true},
        {"status 5", write("s5.rom", B().pllOffset(0)), true},
        {"status 6", write("s6.rom", B().checksum(B::Checksum::Broken)), true},
        {"bad checksum, test off", write("broken.rom", B().checksum(B::Checksum::Broken)), false,
         true},
        {"status 7", write("s7.rom", B().clockRecordAt(std::nullopt)), true},
        {"folder", folder, true},
        {"unreadable", locked, lockedIsUnreadable},
        {"gone before the drop", dir.file("gone.rom"), true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);

        CMainDlg chosen;
        ASSERT_TRUE(chosen.Create());
        prepare(chosen, c.checksumOff);
        size_t before = scripted.asked().size();
        scripted.answerFile(c.path);
        if (c.errorBox) {
            scripted.answerMessage(dk::IDOK);
        }
        QTest::mouseClick(chosen.GetDlgItem(IDC_LOAD_BIOS), Qt::LeftButton);
        Outcome viaDialog = outcome(chosen, scripted, before);
        ASSERT_FALSE(viaDialog.prompts.empty());
        EXPECT_EQ(viaDialog.prompts.front(), "open file");
        viaDialog.prompts.erase(viaDialog.prompts.begin());

        freshWindow();
        prepare(*dlg, c.checksumOff);
        before = scripted.asked().size();
        if (c.errorBox) {
            scripted.answerMessage(dk::IDOK);
        }
        const auto mime = files({local(c.path)});
        const Drag drag = dragAndDrop(*mime);
        EXPECT_TRUE(drag.entered);
        EXPECT_TRUE(drag.moved);
        EXPECT_TRUE(drag.dropped);
        EXPECT_EQ(drag.action, Qt::CopyAction);
        const Outcome viaDrop = outcome(*dlg, scripted, before);
        expectSame(viaDrop, viaDialog);
        EXPECT_TRUE(scripted.drained());

        // What the two agree on is what "Load Bios" does.
        EXPECT_EQ(viaDrop.prompts.size(), c.errorBox ? 1u : 0u);
        if (c.errorBox) {
            ASSERT_FALSE(viaDrop.prompts.empty());
            EXPECT_NE(viaDrop.prompts.front().find(" owned: "), std::string::npos);
        }
        if (!c.errorBox) {
            EXPECT_EQ(viaDrop.texts[0], c.path);
            EXPECT_FALSE(viaDrop.texts[1].empty());
            EXPECT_FALSE(viaDrop.texts[2].empty());
        }
    }
}

TEST_F(DropFixture, AnythingButOneLocalFileIsRefusedAndChangesNothing) {
    const std::string card = write("card.rom", B());
    const std::string other = write("other.rom", B().engineFeedback(0x70));
    prepare(*dlg, true);
    const size_t before = scripted.asked().size();
    const Outcome untouched = outcome(*dlg, scripted, before);

    QMimeData textOnly;
    textOnly.setText(QString::fromStdString(card));
    const auto two = files({local(card), local(other)});
    const auto web = files({QUrl("https://vorlane.example.org/card.rom")});
    const auto network = files({QUrl("file://server/share/card.rom")});
    const auto none = files({});
    const std::vector<std::pair<std::string, const QMimeData*>> refused = {
        {"two files", two.get()},
        {"a web address", web.get()},
        {"a file on a server", network.get()},
        {"plain text", &textOnly},
        {"an empty list", none.get()},
    };
    QWidget* pathEdit = dlg->GetDlgItem(IDC_PATH);
    for (const auto& [name, mime] : refused) {
        for (QWidget* target : {static_cast<QWidget*>(dlg->window()), pathEdit}) {
            SCOPED_TRACE(name + (target == pathEdit ? " over the path edit" : " over the window"));
            const Drag drag = dragAndDrop(*mime, target);
            EXPECT_FALSE(drag.entered);
            EXPECT_FALSE(drag.moved);
            EXPECT_FALSE(drag.dropped);
        }
    }
    // A source that offers only to move the file would delete it after the drop.
    const auto one = files({local(card)});
    const Drag moveOnly = dragAndDrop(*one, nullptr, Qt::MoveAction);
    EXPECT_FALSE(moveOnly.entered);
    EXPECT_FALSE(moveOnly.dropped);

    expectSame(outcome(*dlg, scripted, before), untouched);
}

TEST_F(DropFixture, FileDroppedOverAControlReachesTheWindow) {
    const std::string card = write("card.rom", B().engineFeedback(0x64));
    const auto mime = files({local(card)});
    for (int id : {IDC_PATH, IDC_CHIP_TEXT, IDC_LOAD_BIOS}) {
        SCOPED_TRACE(id);
        freshWindow();
        const Drag drag = dragAndDrop(*mime, dlg->GetDlgItem(id));
        EXPECT_TRUE(drag.entered);
        EXPECT_TRUE(drag.dropped);
        EXPECT_EQ(text(IDC_PATH), card);
        EXPECT_EQ(text(IDC_CHIP_TEXT), "225.00");
        EXPECT_EQ(dlg->m_loaded, 1);
    }
    // A file offered only as a link is still read, never moved.
    freshWindow();
    const Drag link = dragAndDrop(*mime, nullptr, Qt::LinkAction);
    EXPECT_TRUE(link.dropped);
    EXPECT_EQ(link.action, Qt::LinkAction);
    EXPECT_EQ(text(IDC_PATH), card);
    EXPECT_TRUE(scripted.asked().empty());
}

}  // namespace
}  // namespace vorlane::test
