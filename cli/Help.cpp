#include "cli/CommandLine.h"

namespace vorlane::cli {

// Kept within 80 columns and in the order of the manual page that mirrors it.
const char* helpText() {
    return R"(vorlane-cli: inspect and edit legacy Radeon 7000 to 9800 video BIOS images

Usage:
  vorlane-cli info [--json] [--skip-checksum] FILE...
  vorlane-cli edit FILE (-o OUT | --in-place) [--skip-checksum] [EDIT...]
  vorlane-cli font-export FILE OUT [--format fnt|psf|png] [--size 8x16|8x8]
                          [--codepage 437|866] [--scale N] [--skip-checksum]
  vorlane-cli fix-checksum FILE (-o OUT | --in-place)
  vorlane-cli diff [--json] [--skip-checksum] A B
  vorlane-cli check [--json] [--chip-size SIZE] [--device HEX] FILE...
  vorlane-cli cards [--json] [--sysfs DIR]
  vorlane-cli read-card [ADDRESS] -o OUT [--json] [--shadow] [--sysfs DIR]
  vorlane-cli pad FILE --chip-size SIZE (-o OUT | --in-place)
  vorlane-cli --help | --version

Every FILE is read as the editor reads it (its first 65536 bytes) and validated.
--skip-checksum accepts an image whose byte sum is wrong, like the editor's
"Check sum OFF" box.

Commands:
  info          Show the status, identification text, clocks, step clock,
                TV standard, PCI IDs and fonts of each FILE.
                  --json  one JSON object per FILE, one per line
                Example: vorlane-cli info --json card1.rom card2.rom

  edit          Change a valid image and save it with a correct checksum to OUT,
                or over FILE with --in-place. EDIT options:
                  --engine-feedback N    engine clock feedback byte, 0 to 255
                  --memory-feedback N    memory clock feedback byte, 0 to 255
                  --engine-mhz F         engine clock in MHz (nearest byte)
                  --memory-mhz F         memory clock in MHz (nearest byte)
                  --tv ntsc|pal          TV standard
                  --subsystem-vendor HEX PCI subsystem vendor ID, 1 to 4 digits
                  --subsystem HEX        PCI subsystem ID, 1 to 4 digits
                  --font-file F.fnt      both fonts from a font file
                  --builtin-font standard|cyrillic
                                         both fonts from a built-in set
                  --font-8x16 F          the 8x16 font from F: a raw 4096-byte
                                         font (.f16) or a PC Screen Font, 8x16,
                                         gzip-compressed or not (.psf, .psf.gz)
                  --font-8x8 F           the 8x8 font from F: a raw 2048-byte
                                         font (.f08) or an 8x8 PC Screen Font
                  --codepage 437|866     the code page a font with a Unicode
                                         table is mapped to (default 437)
                Example: vorlane-cli edit card.rom -o fast.rom --engine-mhz 300
                Example: vorlane-cli edit card.rom -o ru.rom --codepage 866
                  --font-8x16 /usr/share/consolefonts/CyrSlav-VGA16.psf.gz
                Example: vorlane-cli edit card.rom --in-place --font-8x8 a.f08

  font-export   Write the fonts of a valid FILE to OUT: both as a 6144-byte
                font file (fnt), or one font as a PC Screen Font (psf) or as a
                PNG picture of its 256 glyphs (png). Without --format, OUT's
                extension decides: .psf and .psfu psf, .psf.gz and .psfu.gz
                psf compressed with gzip, .png png, others fnt.
                  --format fnt|psf|png   the format of OUT
                  --size 8x16|8x8        which font for psf, png (default 8x16)
                  --codepage 437|866     the code page of psf's Unicode table
                                         (default 437)
                  --scale N              pixels per font pixel of png, 1 to 8
                                         (default 2)
                Example: vorlane-cli font-export card.rom card.fnt
                Example: vorlane-cli font-export card.rom ru.psf --codepage 866
                Example: vorlane-cli font-export card.rom a.png --scale 1

  fix-checksum  Save FILE with its last byte set so that the byte sum is zero.
                Refused for status 1 to 4: no BIOS of this family to repair.
                Example: vorlane-cli fix-checksum card.rom --in-place

  diff          Show what differs between the images A and B: the byte ranges,
                every info field with both values, and the glyph codes of
                each font.
                  --json  one JSON object
                Example: vorlane-cli diff card.rom card-pal.rom

  check         Say whether each FILE is fit to be written to a card's flash
                chip: "ok", "ok with warnings" or "not fit", with the reasons.
                  --chip-size SIZE  the chip's size: 32K, 64K, 128K or bytes,
                                    at most 16 MiB (16777216)
                  --device HEX      the PCI device ID of the card to flash
                  --json            one JSON object per FILE, one per line
                A FILE given as - is read from standard input.
                Example: vorlane-cli check --chip-size 64K --device 5159 new.rom

  cards         List the ATI display cards of this machine with their PCI
                address and IDs.
                  --json      one JSON object per card, one per line
                  --sysfs DIR read DIR/bus/pci/devices instead of /sys
                Example: vorlane-cli cards --json

  read-card     Save the option ROM of the card at ADDRESS (needed when there
                are several) to OUT and show it as info does. Needs root; the
                card is only read. For the boot display the kernel offers the
                copy its BIOS left in memory at start-up, not the chip's
                contents: read-card refuses it.
                  --json      the report as info --json, with "shadow": true
                              for a start-up copy
                  --shadow    save the boot display's start-up copy anyway
                  --sysfs DIR read DIR/bus/pci/devices instead of /sys
                Example: vorlane-cli read-card 0000:01:00.0 -o card.rom

  pad           Write FILE followed by 0xFF bytes (erased flash) up to the
                chip's size, for a flash programmer that needs an image of the
                chip's exact size. The image's own bytes and checksum stay as
                they are. Refused for a FILE larger than the chip and for one
                that is no BIOS of this family (status 1 to 4).
                  --chip-size SIZE  the chip's size: 32K, 64K, 128K or bytes,
                                    at most 16 MiB (16777216)
                Example: vorlane-cli pad card.rom --chip-size 128K -o chip.bin

Exit status:
  0  done; for info, every FILE is valid; for diff, no byte differs; for check,
     every FILE is fit
  1  an image failed validation, an edit was refused, bytes differ (diff),
     a FILE is not fit (check), there is no card to read, or pad was
     refused
  2  usage error
  3  a file could not be opened, read or written (a card's ROM included)

A FILE given as - is read from standard input, an OUT given as - is written to
standard output.

Outputs are written only when the whole command succeeds. A regular OUT is
replaced atomically (through a symbolic link, the file it points to); a device,
FIFO or /dev/stdout is written in place and stays what it is.
)";
}

}  // namespace vorlane::cli
