// Files dragged onto the main window, through real drag and drop events: one local file loads
// exactly as "Load Bios" loads it once the open dialog has returned that path; any other drag is
// refused while it is dragged, and its drop changes nothing.
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>

#include "tests/ui/MainWindowFixture.h"

namespace vorlane::test {
namespace {

using namespace res;
using B = RomBuilder;

constexpr unsigned kAnyAction = drive::kDropCopy | drive::kDropMove | drive::kDropLink;

drive::DragData files(const std::vector<std::string>& urls) {
    return drive::DragData{urls, std::nullopt};
}
// A path as the system's file dialog and a drop from its file manager give it: with
// backslashes on Windows.
std::string native(std::string path) {
#ifdef _WIN32
    std::replace(path.begin(), path.end(), '/', '\\');
#endif
    return path;
}
std::string local(const std::string& path) {
    return drive::fileUrl(path);
}

class DropFixture : public MainWindowFixture {
  protected:
    // Drags `data` over control `id` (the window for 0), as a drag from another program arrives,
    // and lets the window handle what it took. "+++ copy": enter, move and drop were accepted
    // and the file is copied; "---": all three were refused.
    std::string dragAndDrop(const drive::DragData& data, int id = 0,
                            unsigned offered = kAnyAction) {
        return drive::dragAndDrop(id == 0 ? dlg->window() : dlg->GetDlgItem(id), data, offered);
    }

    // All a user or a later command could tell about the window, and the prompts since `from`.
    std::string snapshot(size_t from) const {
        std::ostringstream out;
        out << shown();
        const CRomImage& image = dlg->m_image;
        const std::string_view bytes(reinterpret_cast<const char*>(image.data.data()),
                                     image.data.size());
        out << "|image " << std::hash<std::string_view>{}(bytes) << ' ' << image.length << ' '
            << image.skipChecksum << " loaded " << dlg->m_loaded << ' ' << dlg->m_statusMessage;
        for (size_t i = from; i < scripted.asked().size(); ++i) {
            const auto& asked = scripted.asked()[i];
            out << "|asked " << asked.kind << ' ' << asked.message.caption << ' '
                << asked.message.type << ' ' << asked.ownerSet << ' ' << asked.message.text;
        }
        return out.str();
    }

    // A fresh window as a drop finds it: an earlier image loaded, one clock stepped and the
    // checksum box ticked, so that whatever a load keeps or replaces shows.
    void prepare() {
        freshWindow();
        load(write("earlier.rom", B().engineFeedback(0x50).memoryFeedback(0x50)));
        step(IDC_CHIP_SPIN, +1);
        click(IDC_CHECKSUM_OFF);
    }
};

TEST_F(DropFixture, OneLocalFileLoadsExactlyAsLoadBiosLoadsIt) {
    const std::string folder = dir.file("folder.rom");
    std::filesystem::create_directory(folder);
    const std::string locked = write("locked.rom", B());
#ifdef _WIN32
    // Windows keeps no read permission bit (chmod sets only "read-only"): the file stays
    // readable there.
    const bool lockedIsUnreadable = false;
#else
    ::chmod(locked.c_str(), 0);
    const bool lockedIsUnreadable = ::geteuid() != 0;  // permission bits do not stop root
#endif
    const std::string card = write("card.rom", B().engineFeedback(0x64).memoryFeedback(0x5A));

    struct Case {
        std::string name;
        std::string path;
        bool errorBox;
        int over = 0;  // the control dropped on; 0 for the window
        unsigned offered = kAnyAction;
        std::string accepted = "+++ copy";
    };
    const std::vector<Case> cases = {
        {"valid", card, false},
        {"over the path edit", card, false, IDC_PATH},
        // A file offered only as a link is still read, never moved.
        {"linked over a button", card, false, IDC_LOAD_BIOS, drive::kDropLink, "+++ link"},
        {"over 64 KiB", write("big.rom", B().fileSize(100000).engineFeedback(0x70)), false},
        {"too small", write("s1.rom", B().fileSize(16383)), true},
        {"bad checksum, test off", write("s6.rom", B().checksum(B::Checksum::Broken)), false},
        {"no clock record", write("s7.rom", B().clockRecordAt(std::nullopt)), true},
        {"folder", folder, true},
        {"unreadable", locked, lockedIsUnreadable},
        {"gone before the drop", dir.file("gone.rom"), true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const std::string path = native(c.path);
        prepare();
        size_t from = scripted.asked().size();
        scripted.answerFile(path);
        if (c.errorBox) {
            scripted.answerMessage(dk::IDOK);
        }
        click(IDC_LOAD_BIOS);
        ASSERT_EQ(scripted.asked().at(from).kind, dk::ScriptedPrompts::Asked::OpenFile);
        const std::string chosen = snapshot(from + 1);

        prepare();
        from = scripted.asked().size();
        if (c.errorBox) {
            scripted.answerMessage(dk::IDOK);
        }
        EXPECT_EQ(dragAndDrop(files({local(path)}), c.over, c.offered), c.accepted);
        EXPECT_EQ(snapshot(from), chosen);
        // What the two agree on is what "Load Bios" does: an error box, or the file shown.
        EXPECT_EQ(scripted.asked().size() - from, c.errorBox ? 1u : 0u);
        EXPECT_TRUE(scripted.drained());
        if (!c.errorBox) {
            EXPECT_EQ(text(IDC_PATH), path);
            EXPECT_NE(text(IDC_CHIP_TEXT), "");
        }
    }
}

TEST_F(DropFixture, AnythingButOneLocalFileIsRefusedAndChangesNothing) {
    const std::string card = write("card.rom", B());
    prepare();
    const size_t from = scripted.asked().size();
    const std::string untouched = snapshot(from);

    const drive::DragData textOnly{std::nullopt, card};
    const auto two = files({local(card), local(write("other.rom", B()))});
    const auto web = files({"https://vorlane.example.org/card.rom"});
    const auto network = files({"file://server/share/card.rom"});
    const auto none = files({});
    const auto one = files({local(card)});
#ifdef _WIN32
    // Windows delivers a drop of files as WM_DROPFILES, which has no refusal while it is dragged:
    // any list of files reaches a window that accepts files (a file on a server as a UNC path),
    // and the window then does nothing with it.
    const std::string filesReach = "+++ copy";
#else
    const std::string filesReach = "---";
#endif
    const std::vector<std::tuple<std::string, drive::DragData, unsigned, std::string>> refused = {
        {"two files", two, kAnyAction, filesReach},
        {"a web address", web, kAnyAction, "---"},
        {"a file on a server", network, kAnyAction, filesReach},
        {"plain text", textOnly, kAnyAction, "---"},
        {"an empty list", none, kAnyAction, "---"},
        // A source that offers only to move the file would delete it after the drop.
        {"move only", one, drive::kDropMove, "---"},
    };
    for (const auto& [name, data, offered, expected] : refused) {
        for (int over : {0, static_cast<int>(IDC_PATH)}) {
            SCOPED_TRACE(name + (over == 0 ? " over the window" : " over the path edit"));
            EXPECT_EQ(dragAndDrop(data, over, offered), expected);
        }
    }
    EXPECT_EQ(snapshot(from), untouched);
}

}  // namespace
}  // namespace vorlane::test
