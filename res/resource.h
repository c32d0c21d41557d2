// Resource and control IDs of the editor's dialogs, menus, strings and icon.
#pragma once

namespace vorlane::res {

// Templates, strings, icon.
inline constexpr int IDD_ABOUTBOX = 100;
inline constexpr int IDS_ABOUTBOX = 101;
inline constexpr int IDD_MAIN = 102;
inline constexpr int IDR_MAINFRAME = 128;
inline constexpr int IDD_FONT = 129;
inline constexpr int IDD_SUBSYS = 130;
inline constexpr int IDD_GLYPH = 131;
inline constexpr int IDD_COMPARE = 132;
inline constexpr int IDD_CHECK = 133;
inline constexpr int IDS_COMPARE = 102;
inline constexpr int IDS_CHECK = 103;
inline constexpr int IDS_HELP_TEXT = 200;
inline constexpr int IDS_CAPTION = 201;

// Window-menu commands: the About item, then the reports on the image.
inline constexpr int IDM_ABOUTBOX = 0x0010;
inline constexpr int IDM_COMPARE = 0x0020;
inline constexpr int IDM_CHECK = 0x0030;

// Main window.
inline constexpr int IDC_PATH = 1000;
inline constexpr int IDC_BIOS_TEXT = 1002;
inline constexpr int IDC_LOAD_BIOS = 1003;
inline constexpr int IDC_SAVE_BIOS = 1004;
inline constexpr int IDC_MEM_SPIN = 1006;
inline constexpr int IDC_CHIP_SPIN = 1007;
inline constexpr int IDC_SYNC_CLOCKS = 1008;
inline constexpr int IDC_CHIP_TEXT = 1009;
inline constexpr int IDC_MEM_TEXT = 1010;
inline constexpr int IDC_TV_STANDARD = 1011;
inline constexpr int IDC_CHECKSUM_OFF = 1016;
inline constexpr int IDC_FONT = 1017;
inline constexpr int IDC_SUBSYS = 1033;

// Font dialog.
inline constexpr int IDC_GLYPH_FRAME = 1019;
inline constexpr int IDC_LOAD_FONT = 1025;
inline constexpr int IDC_SAVE_FONT = 1026;
inline constexpr int IDC_RUS = 1029;

// Glyph dialog.
inline constexpr int IDC_GLYPH_CODE = 1042;
inline constexpr int IDC_GLYPH_8X16 = 1043;
inline constexpr int IDC_GLYPH_8X8 = 1044;
inline constexpr int IDC_GLYPH_PREVIEW = 1045;
inline constexpr int IDC_REVERT = 1046;

// Report dialogs (Compare with File, Check for Flashing).
inline constexpr int IDC_REPORT_TEXT = 1050;
inline constexpr int IDC_COPY_REPORT = 1051;
inline constexpr int IDC_CHIP_SIZE = 1052;
inline constexpr int IDC_SAVE_PADDED = 1053;

// PCI ID dialog.
inline constexpr int IDC_DEVICE_ID = 1012;
inline constexpr int IDC_SUBSYSTEM_ID = 1013;
inline constexpr int IDC_SUBVENDOR_ID = 1014;
inline constexpr int IDC_VENDOR_ID = 1038;
inline constexpr int IDC_EDIT_SUB = 1040;
inline constexpr int IDC_EDIT_END = 1041;

}  // namespace vorlane::res
