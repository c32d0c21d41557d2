// The dialog templates of the editor, control by control in template (= tab) order.
// Positions are x, y, width, height in dialog units. The texts are the source texts of the
// translations: the kit translates them in its context "Dialog" as it realises a template.
#pragma once

#include "dialogkit/Translation.h"

#include "dialogkit/Template.h"
#include "dialogkit/Types.h"
#include "res/resource.h"

namespace vorlane::res {

using dk::ControlKind;
using dk::ControlTemplate;
using dk::DialogTemplate;
using dk::IDC_STATIC;
using dk::IDCANCEL;
using dk::IDOK;

namespace style {
using namespace dk;  // the style flags
inline constexpr ControlStyle kClockEdit = kReadOnly | kCentre | kUpperCase | kStaticEdge;
inline constexpr ControlStyle kClockSpin = kHorz | kArrowKeys | kAutoBuddy | kSetBuddyInt;
inline constexpr ControlStyle kIdEdit = kReadOnly | kCentre | kUpperCase | kStaticEdge;
inline constexpr DialogStyle kModalDialog = kModalFrame | kCaption | kSysMenu;
inline constexpr ControlStyle kReport =
    kReadOnly | kMultiLine | kFixedPitch | kStaticEdge | kTabStop;
}  // namespace style

// Main dialog, template 102.
inline constexpr ControlTemplate kMainControls[] = {
    {IDCANCEL, ControlKind::PushButton, DK_TRANSLATE_NOOP("Dialog", "Cancel"), 255, 9, 50, 14,
     style::kTabStop},
    {IDC_LOAD_BIOS, ControlKind::PushButton, DK_TRANSLATE_NOOP("Dialog", "Load Bios"), 255, 31, 50,
     14},
    {IDC_SAVE_BIOS, ControlKind::PushButton, DK_TRANSLATE_NOOP("Dialog", "Save Bios"), 255, 83, 50,
     14},
    {IDC_PATH, ControlKind::Edit, "", 7, 32, 238, 12, style::kReadOnly | style::kStaticEdge},
    {IDC_BIOS_TEXT, ControlKind::Edit, "", 7, 60, 291, 12, style::kReadOnly | style::kStaticEdge},
    {IDC_STATIC, ControlKind::GroupBox, DK_TRANSLATE_NOOP("Dialog", "Setup"), 7, 82, 238, 80},
    {IDC_MEM_TEXT, ControlKind::Edit, "", 25, 112, 57, 12, style::kClockEdit},
    {IDC_MEM_SPIN, ControlKind::UpDown, "Spin1", 25, 136, 57, 12, style::kClockSpin},
    {IDC_CHIP_TEXT, ControlKind::Edit, "", 99, 112, 57, 12, style::kClockEdit},
    {IDC_CHIP_SPIN, ControlKind::UpDown, "Spin2", 99, 136, 57, 12, style::kClockSpin},
    {IDC_SYNC_CLOCKS, ControlKind::AutoCheckBox, DK_TRANSLATE_NOOP("Dialog", "Synch clocks:"), 172,
     136, 57, 12, style::kLeftText},
    {IDC_TV_STANDARD, ControlKind::ComboBox, "", 172, 112, 57, 48},
    {IDC_CHECKSUM_OFF, ControlKind::AutoCheckBox,
     DK_TRANSLATE_NOOP("Dialog", "In File   Check sum OFF"), 79, 12, 94, 10,
     style::kLeftText | style::kRight | style::kVCentre | style::kFlat | style::kStaticEdge},
    {IDC_STATIC, ControlKind::Static, DK_TRANSLATE_NOOP("Dialog", "Bios"), 10, 48, 31, 8},
    {IDC_FONT, ControlKind::PushButton, DK_TRANSLATE_NOOP("Dialog", "Font"), 255, 141, 50, 14},
    {IDC_SUBSYS, ControlKind::PushButton, DK_TRANSLATE_NOOP("Dialog", "SubSys"), 255, 112, 50, 14,
     style::kTabStop},
    {IDC_STATIC, ControlKind::Static, DK_TRANSLATE_NOOP("Dialog", "Open File"), 10, 12, 48, 10},
    {IDC_STATIC, ControlKind::Static, DK_TRANSLATE_NOOP("Dialog", "MEM"), 25, 96, 57, 12,
     style::kCentre},
    {IDC_STATIC, ControlKind::Static, DK_TRANSLATE_NOOP("Dialog", "Chip"), 99, 96, 57, 12,
     style::kCentre},
    {IDC_STATIC, ControlKind::Static, DK_TRANSLATE_NOOP("Dialog", "Standart TV"), 172, 96, 57, 12,
     style::kCentre},
};
inline constexpr DialogTemplate kMainDialog{IDD_MAIN,
                                            "Vorlane_25",
                                            "MS Sans Serif",
                                            8,
                                            312,
                                            174,
                                            style::kModalDialog | style::kAppWindow,
                                            kMainControls};

// About box, template 100.
inline constexpr ControlTemplate kAboutControls[] = {
    {IDC_STATIC, ControlKind::Icon, "", 11, 17, 20, 20, style::kNoStyle, IDR_MAINFRAME},
    {IDC_STATIC, ControlKind::Static, DK_TRANSLATE_NOOP("Dialog", "Vorlane  Version 2.5"), 40, 10,
     119, 8},
    {IDC_STATIC, ControlKind::Static,
     DK_TRANSLATE_NOOP("Dialog", "Copyright (C) 2026 the Vorlane authors"), 40, 25, 143, 8},
    {IDOK, ControlKind::DefPushButton, DK_TRANSLATE_NOOP("Dialog", "OK"), 178, 7, 50, 14,
     style::kTabStop | style::kGroup},
    {IDC_STATIC, ControlKind::Static,
     DK_TRANSLATE_NOOP("Dialog", "Free software - vorlane.example.org"), 47, 38, 122, 10},
};
inline constexpr DialogTemplate kAboutDialog{IDD_ABOUTBOX,
                                             DK_TRANSLATE_NOOP("Dialog", "About Vorlane"),
                                             "MS Sans Serif",
                                             8,
                                             235,
                                             55,
                                             style::kModalDialog,
                                             kAboutControls};

// Font dialog, template 129.
inline constexpr ControlTemplate kFontControls[] = {
    {IDOK, ControlKind::DefPushButton, DK_TRANSLATE_NOOP("Dialog", "OK"), 220, 7, 50, 14,
     style::kTabStop},
    {IDC_GLYPH_FRAME, ControlKind::StaticFrame, "", 7, 7, 208, 152,
     style::kWhiteFrame | style::kTransparent},
    {IDC_LOAD_FONT, ControlKind::PushButton, DK_TRANSLATE_NOOP("Dialog", "Load"), 220, 56, 50, 14,
     style::kTabStop},
    {IDC_SAVE_FONT, ControlKind::PushButton, DK_TRANSLATE_NOOP("Dialog", "Save"), 220, 79, 50, 14,
     style::kTabStop},
    {IDC_RUS, ControlKind::AutoCheckBox, DK_TRANSLATE_NOOP("Dialog", "Rus"), 219, 129, 50, 14,
     style::kLeftText | style::kCentre | style::kFlat | style::kStaticEdge},
};
inline constexpr DialogTemplate kFontDialog{
    IDD_FONT,
    DK_TRANSLATE_NOOP("Dialog", "Font"),
    "MS Sans Serif",
    8,
    282,
    166,
    style::kModalDialog | style::kMinimizeBox | style::kMaximizeBox,
    kFontControls};

// Glyph dialog: one code of both text fonts, enlarged for editing.
inline constexpr ControlTemplate kGlyphControls[] = {
    {IDC_STATIC, ControlKind::Static, DK_TRANSLATE_NOOP("Dialog", "Code:"), 7, 9, 22, 8},
    {IDC_GLYPH_CODE, ControlKind::Static, "", 30, 9, 104, 8},
    {IDC_STATIC, ControlKind::Static, "8x16", 7, 22, 60, 8, style::kCentre},
    {IDC_GLYPH_8X16, ControlKind::BitGrid, "", 7, 32, 60, 110, style::kTabStop},
    {IDC_STATIC, ControlKind::Static, "8x8", 74, 22, 60, 8, style::kCentre},
    {IDC_GLYPH_8X8, ControlKind::BitGrid, "", 74, 32, 60, 60, style::kTabStop},
    {IDC_STATIC, ControlKind::Static, DK_TRANSLATE_NOOP("Dialog", "Preview"), 74, 100, 60, 8,
     style::kCentre},
    {IDC_GLYPH_PREVIEW, ControlKind::StaticFrame, "", 84, 110, 40, 24,
     style::kWhiteFrame | style::kTransparent},
    {IDOK, ControlKind::DefPushButton, DK_TRANSLATE_NOOP("Dialog", "OK"), 143, 7, 50, 14,
     style::kTabStop},
    {IDCANCEL, ControlKind::PushButton, DK_TRANSLATE_NOOP("Dialog", "Cancel"), 143, 24, 50, 14,
     style::kTabStop},
    {IDC_REVERT, ControlKind::PushButton, DK_TRANSLATE_NOOP("Dialog", "Revert"), 143, 48, 50, 14,
     style::kTabStop},
};
inline constexpr DialogTemplate kGlyphDialog{IDD_GLYPH,
                                             DK_TRANSLATE_NOOP("Dialog", "Glyph"),
                                             "MS Sans Serif",
                                             8,
                                             200,
                                             150,
                                             style::kModalDialog,
                                             kGlyphControls};

// Compare with File: what differs between the image as it would be saved and a file.
inline constexpr ControlTemplate kCompareControls[] = {
    {IDC_REPORT_TEXT, ControlKind::Edit, "", 7, 7, 380, 216, style::kReport},
    {IDCANCEL, ControlKind::DefPushButton, DK_TRANSLATE_NOOP("Dialog", "Close"), 393, 7, 60, 14,
     style::kTabStop},
    {IDC_COPY_REPORT, ControlKind::PushButton, DK_TRANSLATE_NOOP("Dialog", "Copy"), 393, 24, 60, 14,
     style::kTabStop},
};
inline constexpr DialogTemplate kCompareDialog{IDD_COMPARE,
                                               DK_TRANSLATE_NOOP("Dialog", "Compare with File"),
                                               "MS Sans Serif",
                                               8,
                                               460,
                                               230,
                                               style::kModalDialog,
                                               kCompareControls};

// Check for Flashing: whether the image as it would be saved fits a chip, and padding to it.
inline constexpr ControlTemplate kCheckControls[] = {
    {IDC_STATIC, ControlKind::Static, DK_TRANSLATE_NOOP("Dialog", "Chip size:"), 7, 9, 40, 8},
    {IDC_CHIP_SIZE, ControlKind::ComboBox, "", 50, 7, 120, 60, style::kTabStop},
    {IDC_REPORT_TEXT, ControlKind::Edit, "", 7, 26, 380, 197, style::kReport},
    {IDCANCEL, ControlKind::DefPushButton, DK_TRANSLATE_NOOP("Dialog", "Close"), 393, 7, 60, 14,
     style::kTabStop},
    {IDC_COPY_REPORT, ControlKind::PushButton, DK_TRANSLATE_NOOP("Dialog", "Copy"), 393, 24, 60, 14,
     style::kTabStop},
    {IDC_SAVE_PADDED, ControlKind::PushButton, DK_TRANSLATE_NOOP("Dialog", "Save Padded..."), 393,
     48, 60, 14, style::kTabStop},
};
inline constexpr DialogTemplate kCheckDialog{IDD_CHECK,
                                             DK_TRANSLATE_NOOP("Dialog", "Check for Flashing"),
                                             "MS Sans Serif",
                                             8,
                                             460,
                                             230,
                                             style::kModalDialog,
                                             kCheckControls};

// Keys that press a dialog's buttons.
inline constexpr dk::ButtonShortcut kMainShortcuts[] = {
    {IDC_LOAD_BIOS, "Ctrl+O"},
    {IDC_SAVE_BIOS, "Ctrl+S"},
};
inline constexpr dk::ButtonShortcut kFontShortcuts[] = {
    {IDC_LOAD_FONT, "Ctrl+O"},
    {IDC_SAVE_FONT, "Ctrl+S"},
};

// PCI ID dialog, template 130.
inline constexpr ControlTemplate kSubsysControls[] = {
    {IDC_SUBSYSTEM_ID, ControlKind::Edit, "", 72, 70, 50, 12, style::kIdEdit},
    {IDC_SUBVENDOR_ID, ControlKind::Edit, "", 72, 92, 50, 12, style::kIdEdit},
    {IDC_EDIT_END, ControlKind::PushButton, DK_TRANSLATE_NOOP("Dialog", "Edit End"), 137, 90, 50,
     14, style::kTabStop},
    {IDOK, ControlKind::DefPushButton, DK_TRANSLATE_NOOP("Dialog", "OK"), 137, 10, 50, 14,
     style::kTabStop},
    {IDC_DEVICE_ID, ControlKind::Edit, "", 72, 32, 50, 12, style::kIdEdit},
    {IDC_STATIC, ControlKind::Static, DK_TRANSLATE_NOOP("Dialog", "Vendor ID:"), 15, 14, 53, 10,
     style::kRight},
    {IDC_STATIC, ControlKind::Static, DK_TRANSLATE_NOOP("Dialog", "Device ID:"), 15, 34, 53, 10,
     style::kRight},
    {IDC_STATIC, ControlKind::Static, DK_TRANSLATE_NOOP("Dialog", "Subsystem ID:"), 15, 72, 53, 10,
     style::kRight},
    {IDC_STATIC, ControlKind::Static, DK_TRANSLATE_NOOP("Dialog", "Subvendor ID:"), 15, 94, 53, 10,
     style::kRight | style::kGroup},
    {IDC_VENDOR_ID, ControlKind::Edit, "", 72, 12, 50, 12, style::kIdEdit},
    {IDC_EDIT_SUB, ControlKind::PushButton, DK_TRANSLATE_NOOP("Dialog", "EDIT"), 137, 68, 50, 14},
    {IDC_STATIC, ControlKind::GroupBox, DK_TRANSLATE_NOOP("Dialog", "Edit Sub"), 9, 56, 183, 56,
     style::kCentreTitle},
};
inline constexpr DialogTemplate kSubsysDialog{
    IDD_SUBSYS, "Vorlane", "MS Sans Serif", 8, 201, 121, style::kModalDialog, kSubsysControls};

// The template with resource ID `id`; the main dialog's for an unknown ID.
const DialogTemplate& dialogTemplate(int id);

}  // namespace vorlane::res
