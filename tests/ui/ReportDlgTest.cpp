// The window menu's reports: "Compare with File..." (Ctrl+D) and "Check for Flashing..."
// (Ctrl+K) say what vorlane-cli diff and check say about the image as "Save Bios" would write
// it, and "Save Padded..." writes what vorlane-cli pad writes.
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <regex>
#include <sstream>

#include "image/BuiltinFonts.h"
#include "image/Info.h"
#include "image/Text.h"
#include "tests/ui/MainWindowFixture.h"
#include "tests/ui/RunProgram.h"
#include "tests/ui/TextChecks.h"
#include "ui/CoreTexts.h"
#include "ui/ReportDlg.h"

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

// A report's text as the clipboard holds it: on Windows with CR LF at each line's end, as every
// program there pastes text.
std::string pasted(const std::string& shown) {
#ifdef _WIN32
    return std::regex_replace(shown, std::regex("\n"), "\r\n");
#else
    return shown;
#endif
}

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
#ifdef _WIN32
        // The native window menu has the system's own entries before the kit's three.
        const size_t kitFrom = seen.size() - std::min<size_t>(3, seen.size());
#else
        const size_t kitFrom = std::min<size_t>(2, seen.size());
#endif
        EXPECT_EQ(std::vector(seen.begin() + kitFrom, seen.end()),
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
        EXPECT_EQ(drive::clipboardText(), pasted(compared));
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

#ifdef _WIN32
    // Windows makes no FIFO in a folder: its device NUL is the file that is no regular file.
    const std::string fifo = "NUL";
#else
    // Padded onto a FIFO: refused before it is opened, whose open would wait for a reader. One
    // holds it open here, so that a save that wrongly writes into it fails instead of hanging.
    const std::string fifo = dir.file("fifo.rom");
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    const int reader = ::open(fifo.c_str(), O_RDONLY | O_NONBLOCK);
    ASSERT_GE(reader, 0);
#endif
    scripted.answerFile(fifo);
    scripted.answerMessage(dk::IDOK);
    EXPECT_TRUE(withReport(drive::Key::K, [&](dk::WindowHandle report) {
        // The image's own size, which the FIFO's buffer holds whole.
        drive::pick(drive::control(report, IDC_CHIP_SIZE), 0);
        press(report, IDC_SAVE_PADDED);
        press(report, dk::IDCANCEL);
    }));
    const std::string box = lastAsked().message.text;
    EXPECT_NE(box.find(fifo), std::string::npos) << box;
    EXPECT_NE(box.find("Not a regular file"), std::string::npos) << box;
#ifndef _WIN32
    char byte = 0;
    EXPECT_LE(::read(reader, &byte, 1), 0) << "the padded image went into the FIFO";
    ::close(reader);
#endif
}

// What stays in Latin letters when a report is Russian, the rest being numbers (decimal,
// hexadecimal, or codes such as 8x16, N2 and R100) and the paths the test gave.
const std::vector<std::string> kKeptNames{
    "Vorlane", "BIOS", "ATI", "PCI", "PC", "ID", "Radeon", "Rage", "NTSC", "PAL",
    "CLK",            // in the main window's status message "Error CLK" too
    "EFI",            // code types
    "edit",           // the command of vorlane-cli
    "A",       "B"};  // the two sides of a comparison
const std::vector<std::string> kKeptPhrases{"Open Firmware", "PA-RISC"};

void removeAll(std::string& text, const std::string& part) {
    if (part.empty()) {
        return;
    }
    for (size_t at = text.find(part); at != std::string::npos; at = text.find(part, at)) {
        text.erase(at, part.size());
    }
}

std::vector<std::string> lines(const std::string& text) {
    std::vector<std::string> all;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);) {
        all.push_back(line);
    }
    if (!text.empty() && text.back() == '\n') {
        all.emplace_back();
    }
    return all;
}

// The report's words in Latin letters that are not kept. Besides the names above, what stands
// where a script would look for it stays: a finding's code after its level, a field's name as
// info --json spells it, the image's own texts in quotes and the bytes of a short range.
std::vector<std::string> latinWords(const std::string& report,
                                    const std::vector<std::string>& paths) {
    std::string text = report;
    for (const std::string& path : paths) {
        removeAll(text, path);
    }
    for (const std::string& phrase : kKeptPhrases) {
        removeAll(text, phrase);
    }
    const auto image = std::make_unique<CRomImage>();
    std::string keys;
    for (const InfoField& field : infoRecord(*image, kRomOk)) {
        keys += (keys.empty() ? "" : "|") + std::string(field.key);
    }
    const std::string byte = "(?:[0-9a-f]{2}|--)";
    // Each pattern within a line, as the lines of a report are read; the first keeps its group.
    const std::vector<std::pair<std::regex, const char*>> kept = {
        {std::regex("\"[^\"\n]*\""), ""},
        {std::regex("^(  \\S+ )[a-z]+(?:-[a-z]+)*:"), "$1"},
        {std::regex("^  (?:" + keys + ") "), ""},
        {std::regex("  " + byte + "(?: " + byte + ")* -> " + byte + "(?: " + byte + ")*$"), ""},
    };
    std::string rest;
    for (std::string line : lines(text)) {
        for (const auto& [pattern, replacement] : kept) {
            line = std::regex_replace(line, pattern, replacement);
        }
        rest += line + "\n";
    }
    // A word is a run of Latin letters with no letter or digit on either side.
    static const std::regex run("[A-Za-z0-9]+");
    std::vector<std::string> found;
    for (auto m = std::sregex_iterator(rest.begin(), rest.end(), run); m != std::sregex_iterator();
         ++m) {
        const std::string w = m->str();
        if (std::ranges::all_of(
                w, [](char c) { return std::isalpha(static_cast<unsigned char>(c)); }) &&
            std::ranges::find(kKeptNames, w) == kKeptNames.end()) {
            found.push_back(w);
        }
    }
    return found;
}

// What a translation keeps of each line: its indent and its numbers, in order of size. A list
// wrapped onto further lines counts as one line, since longer words may wrap it elsewhere.
std::vector<std::string> shape(const std::string& report) {
    static const std::regex number("[0-9]+");
    // Numbers as their digits without leading zeros, ordered by value: a temporary folder's name
    // on Windows holds a number longer than any integer type.
    std::vector<std::pair<size_t, std::vector<std::string>>> shaped;
    for (const std::string& line : lines(report)) {
        size_t indent = 0;
        while (indent < line.size() && line[indent] == ' ') {
            ++indent;
        }
        if (indent != 9 || shaped.empty()) {
            shaped.push_back({indent, {}});
        }
        for (auto m = std::sregex_iterator(line.begin(), line.end(), number);
             m != std::sregex_iterator(); ++m) {
            std::string digits = m->str();
            digits.erase(0, std::min(digits.find_first_not_of('0'), digits.size() - 1));
            shaped.back().second.push_back(digits);
        }
    }
    std::vector<std::string> shapes;
    for (auto& [indent, numbers] : shaped) {
        std::sort(numbers.begin(), numbers.end(), [](const std::string& a, const std::string& b) {
            return a.size() != b.size() ? a.size() < b.size() : a < b;
        });
        shapes.push_back(std::to_string(indent) + ":");
        for (const std::string& n : numbers) {
            shapes.back() += " " + n;
        }
    }
    return shapes;
}

std::unique_ptr<CRomImage> loaded(const std::string& path) {
    auto image = std::make_unique<CRomImage>();
    image->loadFile(path);
    image->validate();
    return image;
}

// The window's image is the builder's default; each row is what it is compared with or checked
// against. Together the rows say every kind of line the two reports have.
TEST_F(RussianFixture, ReportsAreRussianWithTheEnglishNumbersAndLayout) {
    ASSERT_TRUE(language.starts_with("ru")) << language;
    using B = RomBuilder;
    B many = B().deviceId(0x5446).engineFeedback(0x64).subsystemId(0x1234).tvByte7(0);
    many.poke(B::kFont8x16 + 0x01 * 16, std::vector<uint8_t>(5 * 16, 0xEE))  // a run
        .poke(B::kFont8x16 + 0x08 * 16, {0xEE})
        .poke(B::kFont8x16 + 0x10 * 16, {0xEE})
        .poke(B::kFont8x8 + 0x00 * 8, {0xEE})  // the glyphs with a name
        .poke(B::kFont8x8 + 0x20 * 8, {0xEE})
        .poke(B::kFont8x8 + 0xFF * 8, {0xEE});
    for (size_t i = 0; i < 24; ++i) {  // more ranges than are shown
        many.poke(0x2000 + 16 * i, {static_cast<uint8_t>(0x10 + i)});
    }
    const struct {
        const char* name;
        B image;
        uint64_t chipSize;  // 0: compared with the window's image instead
    } rows[] = {
        {"identical", B(), 0},
        {"fields, glyphs and ranges", many, 0},
        {"no clock record, no font", B().clockRecordAt(std::nullopt).noFontSequence(), 0},
        {"no PLL block", B().pllOffset(0), 0},
        {"checksum", B().checksum(B::Checksum::Broken), 0},
        {"Cyrillic set", B().poke(B::kFont8x8, {kCyrillicFont8x8.begin(), kCyrillicFont8x8.end()}),
         0},
        {"fit", B(), 65536},
        {"fit with a warning", B(), 131072},
        {"too big", B(), 32768},
        {"not a PC image", B().vendorId(0x10DE).codeType(3).indicator(0), 65536},
        {"Radeon 7000", B().atiText(" 761295521"), 65536},
        {"Radeon 8500", B().deviceId(0x514C).pcirOffset(0), 65536},
        {"Rage 128", B().deviceId(0x5046).clockRecordAt(std::nullopt), 65536},
        {"Mach64", B().deviceId(0x4754).clockRecordAt(std::nullopt), 65536},
    };
    const std::string window = write("card.rom", B());
    const SavedImage windowSaved = savedImage(*loaded(window));
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        const std::string path = write("other.rom", row.image);
        const SavedImage saved = savedImage(*loaded(path));
        const auto report = [&](const ReportTexts& texts) {
            return row.chipSize == 0 ? compareReport(window, windowSaved, path, texts)
                                     : checkReport(path, saved, row.chipSize, texts);
        };
        const std::string russian = report(reportTexts());
        const std::string english = report(ReportTexts());
        EXPECT_EQ(joined(latinWords(russian, {window, path})), "") << russian;
        EXPECT_EQ(shape(russian), shape(english)) << russian << english;
        // A status is shown in the words of the main window's box.
        if (saved.status != kRomOk) {
            EXPECT_NE(russian.find(oneLine(statusText(saved.status))), std::string::npos)
                << russian;
        }
        EXPECT_NE(latinWords(english, {window, path}).size(), 0);
    }
}

// A phrase of the core's table that the editor's list or the translation lacks would stay
// English, whether or not a report above shows it.
TEST_F(RussianFixture, EveryPhraseOfTheReportsHasItsTranslation) {
    ASSERT_TRUE(language.starts_with("ru")) << language;
    const ReportTexts& english = englishReportTexts();
    const ReportTexts russian = reportTexts();
    for (std::string ReportTexts::*phrase : ReportTexts::phrases()) {
        EXPECT_NE(russian.*phrase, english.*phrase);
    }
    for (CountedText ReportTexts::*counted : ReportTexts::counted()) {
        for (const uint64_t n : {1, 3, 5, 21}) {
            EXPECT_NE(russian.form(english.*counted, n), english.form(english.*counted, n))
                << (english.*counted).other << " " << n;
        }
    }
}

// The chip sizes and both file dialogs of the reports, in the main window's words.
TEST_F(RussianFixture, ReportDialogsListsAndFiltersAreRussian) {
    ASSERT_TRUE(language.starts_with("ru")) << language;
    load(write("card.rom", RomBuilder()));
    const std::string romFilter = dk::translate("Vorlane", CMainDlg::kRomFilter);
    ASSERT_NE(romFilter, CMainDlg::kRomFilter);

    scripted.answerFile(std::nullopt);
    drive::activate(dlg->window());
    drive::pressKey(dlg->window(), drive::Key::D, drive::kCtrl);
    EXPECT_EQ(lastAsked().file.filter, romFilter);

    CCheckDlg check;
    check.m_pImage = &dlg->m_image;
    check.m_path = dlg->m_path;
    ASSERT_TRUE(check.Create());
    const dk::WindowHandle chip = check.GetDlgItem(IDC_CHIP_SIZE);
    std::string sizes;
    for (int i = 0; i < drive::count(chip); ++i) {
        sizes += (i == 0 ? "" : "|") + drive::itemText(chip, i);
    }
    EXPECT_EQ(sizes, "Размер самого образа|32 КиБ|64 КиБ|128 КиБ");
    EXPECT_EQ(check.m_report, checkReport(dlg->m_path, savedImage(dlg->m_image), 65536));
    scripted.answerFile(std::nullopt);
    drive::click(check.GetDlgItem(IDC_SAVE_PADDED));
    EXPECT_EQ(lastAsked().file.filter, romFilter);
    check.DestroyWindow();
}

}  // namespace
}  // namespace vorlane::test
