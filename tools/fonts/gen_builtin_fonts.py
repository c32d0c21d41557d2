#!/usr/bin/env python3
"""Generate image/BuiltinFonts.cpp, the two built-in font sets, from Debian console fonts.

Run from anywhere, on a system with the Debian packages console-data and
console-setup-linux installed:

    python3 tools/fonts/gen_builtin_fonts.py            # rewrite image/BuiltinFonts.cpp
    python3 tools/fonts/gen_builtin_fonts.py --check    # exit 1 if the committed file is stale

Options --fonts DIR (default /usr/share/consolefonts) and --output FILE override the paths.
The output depends only on the font files, so running it twice gives the same bytes.

Glyph sources (all from console-data, GPL-2.0; tools/fonts/README.md has the details):
  standard 8x16  default8x16     all 256 glyphs, placed by the font's own Unicode table
  standard 8x8   cp865-8x8       code page 865 by position, which is code page 437 except
                 cp850-8x8       at 0x9B, 0x9D and 0xAF; those three come from code page 850
  Cyrillic       alt-8x8,        code page 866 by position, used at 0x80-0xAF and 0xE0-0xF1;
                 alt-8x16        the other positions are the standard set's
The Unicode-mapped fonts of console-setup-linux (Uni1-VGA8, Uni1-VGA16) are only used to
check that the fonts without a Unicode table have the layout assumed above.
"""

import argparse
import gzip
import hashlib
import struct
import sys
from pathlib import Path

REPO = Path(__file__).resolve().parents[2]

# What code page 437 shows at the control positions and at 0x7F; the 'cp437' codec only knows
# the controls there. Position 0 stays blank.
CP437_GRAPHICS = "\0☺☻♥♦♣♠•◘○◙♂♀♪♫☼►◄↕‼¶§▬↨↑↓→←∟↔▲▼"

CYRILLIC_POSITIONS = [*range(0x80, 0xB0), *range(0xE0, 0xF2)]

# Glyphs known to be bit-identical between a font without a Unicode table and a Unicode-mapped
# font of the same design. Finding them at the expected positions pins down each layout; a
# shifted or reordered font fails here instead of producing wrong tables.
CP865_ANCHORS = (
    "".join(chr(c) for c in range(0x21, 0x7F))
    + "☺☻♥♦♣♠•♂♀♪♫☼↕‼¶§↨↑↓→←∟↔⌂üéâäàêëèïîìÄÉÆôöòûùÿÖÜ£áíóúñÑªº¿¬½¼¡«¤"
    + "░▒│┤┐└┴┬├─┼┘┌█ßµ±÷°·²■"
)
ALT8_ANCHORS = "Мад"
ALT16_ANCHORS = "ДНПЧЮджлнпю"


class Font:
    def __init__(self, path: Path):
        raw = path.read_bytes()
        if raw[:2] == b"\x1f\x8b":
            raw = gzip.decompress(raw)
        self.name = path.name
        self.digest = hashlib.sha256(raw).hexdigest()
        self.unicode: dict[int, int] = {}  # code point -> glyph index, first occurrence wins
        if raw[:2] == b"\x36\x04":
            mode, self.height = raw[2], raw[3]
            count = 512 if mode & 0x01 else 256
            self.glyphs = [raw[4 + i * self.height : 4 + (i + 1) * self.height] for i in range(count)]
            if mode & 0x06:
                self._psf1_table(raw, 4 + count * self.height, count)
        elif raw[:4] == b"\x72\xb5\x4a\x86":
            _, _, header, flags, count, size, self.height, width = struct.unpack_from("<8I", raw)
            if width != 8 or size != self.height:
                raise SystemExit(f"{path}: {width}x{self.height} glyphs, need 8 pixels wide")
            self.glyphs = [raw[header + i * size : header + (i + 1) * size] for i in range(count)]
            if flags & 0x01:
                self._psf2_table(raw[header + count * size :], count)
        else:
            raise SystemExit(f"{path}: not a PSF font")

    def _psf1_table(self, raw: bytes, pos: int, count: int) -> None:
        glyph, in_sequence = 0, False
        while glyph < count:
            (value,) = struct.unpack_from("<H", raw, pos)
            pos += 2
            if value == 0xFFFF:
                glyph, in_sequence = glyph + 1, False
            elif value == 0xFFFE:
                in_sequence = True
            elif not in_sequence:
                self.unicode.setdefault(value, glyph)

    def _psf2_table(self, table: bytes, count: int) -> None:
        for glyph, entry in enumerate(table.split(b"\xff")[:count]):
            for char in entry.split(b"\xfe")[0].decode("utf-8"):
                self.unicode.setdefault(ord(char), glyph)

    def by_char(self, char: str) -> bytes:
        return self.glyphs[self.unicode[ord(char)]]


def code_page(name: str) -> list[str]:
    chars = list(CP437_GRAPHICS) + [bytes([i]).decode(name) for i in range(0x20, 0x100)]
    chars[0x7F] = "⌂"
    return chars


def expect_anchors(font: Font, reference: Font, layout: list[str], anchors: str) -> None:
    where = {char: pos for pos, char in enumerate(layout)}
    wrong = [c for c in anchors if font.glyphs[where[c]] != reference.by_char(c)]
    if wrong:
        raise SystemExit(f"{font.name}: glyphs {''.join(wrong)} differ from {reference.name}")


def build(fonts: Path) -> tuple[dict[str, bytes], list[Font]]:
    def load(name: str, height: int) -> Font:
        font = Font(fonts / f"{name}.psf.gz")
        if font.height != height or len(font.glyphs) < 256:
            raise SystemExit(f"{font.name}: expected 256 glyphs of height {height}")
        return font

    cp437, cp850, cp865, cp866 = (code_page(n) for n in ("cp437", "cp850", "cp865", "cp866"))
    default16, cp865_8, cp850_8 = load("default8x16", 16), load("cp865-8x8", 8), load("cp850-8x8", 8)
    alt8, alt16 = load("alt-8x8", 8), load("alt-8x16", 16)
    uni8, uni16 = load("Uni1-VGA8", 8), load("Uni1-VGA16", 16)

    # default8x16 lists its glyph 0 as a space-like character; all that matters there is a blank.
    for pos in range(1, 256):
        if default16.unicode.get(ord(cp437[pos])) != pos:
            raise SystemExit(f"default8x16: {cp437[pos]!r} is not at 0x{pos:02X}")
    standard16 = b"".join(default16.glyphs[:256])

    expect_anchors(cp865_8, uni8, cp865, CP865_ANCHORS)
    expect_anchors(cp850_8, uni8, cp850, "¢¥»")
    standard8 = list(cp865_8.glyphs[:256])
    for pos in range(256):
        if cp865[pos] != cp437[pos]:
            standard8[pos] = cp850_8.glyphs[cp850.index(cp437[pos])]

    expect_anchors(alt8, uni8, cp866, ALT8_ANCHORS)
    expect_anchors(alt16, uni16, cp866, ALT16_ANCHORS)
    cyrillic8, cyrillic16 = list(standard8), list(default16.glyphs[:256])
    for pos in CYRILLIC_POSITIONS:
        cyrillic8[pos], cyrillic16[pos] = alt8.glyphs[pos], alt16.glyphs[pos]

    tables = {
        "kStandardFont8x8": b"".join(standard8),
        "kStandardFont8x16": standard16,
        "kCyrillicFont8x8": b"".join(cyrillic8),
        "kCyrillicFont8x16": b"".join(cyrillic16),
    }
    for name, data in tables.items():
        height = len(data) // 256
        blank, space, block = (data[n * height : (n + 1) * height] for n in (0x00, 0x20, 0xDB))
        if blank != bytes(height) or space != bytes(height) or block != b"\xff" * height:
            raise SystemExit(f"{name}: glyphs 0x00, 0x20 or 0xDB are not blank, blank, full")
    return tables, [default16, cp865_8, cp850_8, alt8, alt16]


def render(tables: dict[str, bytes], sources: list[Font]) -> str:
    """The standard set in full; the Cyrillic set as the standard set with its letters put in,
    so that the two sets cannot differ anywhere else."""
    out = [
        "// Generated by tools/fonts/gen_builtin_fonts.py; do not edit by hand.",
        "// The glyphs are taken from these console fonts of the Debian package console-data,",
        "// licensed under the GNU GPL version 2 (tools/fonts/README.md says which glyph comes",
        "// from which font); SHA-256 of the uncompressed PSF data:",
    ]
    out += [f"//   {font.name:<18} {font.digest}" for font in sources]
    out += ["", '#include "BuiltinFonts.h"', "", "#include <cstddef>", "", "namespace vorlane {", ""]

    def table(name: str, data: bytes, height: int, first_glyphs: list[int]) -> None:
        out.append(f"constexpr std::array<uint8_t, {len(data)}> {name} = {{")
        for offset in range(0, len(data), 16):
            if offset % (16 * height) == 0:
                index = offset // height
                first, last = first_glyphs[index], first_glyphs[min(index + 15, len(first_glyphs) - 1)]
                out.append(f"    // glyphs 0x{first:02X}-0x{last:02X}")
            out.append("    " + " ".join(f"0x{b:02X}," for b in data[offset : offset + 16]))
        out.extend(["};", ""])

    out.append("// clang-format off")
    for size in ("8x8", "8x16"):
        data = tables[f"kStandardFont{size}"]
        table(f"kStandardFont{size}", data, len(data) // 256, list(range(256)))
    out += ["namespace {", ""]
    ranges = _ranges(CYRILLIC_POSITIONS)
    where = ", ".join(f"0x{a:02X} to 0x{b:02X}" for a, b in ranges)
    out.append(f"// The Cyrillic letters of code page 866, glyph after glyph, for {where}.")
    for size in ("8x8", "8x16"):
        data = tables[f"kCyrillicFont{size}"]
        height = len(data) // 256
        letters = b"".join(data[p * height : (p + 1) * height] for p in CYRILLIC_POSITIONS)
        table(f"kCyrillicLetters{size}", letters, height, CYRILLIC_POSITIONS)
    out += ["// clang-format on", ""]
    out += [
        "struct GlyphRange {",
        "    int first, last;",
        "};",
        "constexpr GlyphRange kCyrillicRanges[] = {"
        + ", ".join(f"{{0x{a:02X}, 0x{b:02X}}}" for a, b in ranges)
        + "};",
        "",
        "template <size_t Size, size_t LetterBytes>",
        "constexpr std::array<uint8_t, Size> withCyrillicLetters(",
        "    const std::array<uint8_t, Size>& standard, const std::array<uint8_t, LetterBytes>& letters) {",
        "    constexpr size_t height = Size / 256;",
        "    std::array<uint8_t, Size> font = standard;",
        "    size_t next = 0;",
        "    for (const GlyphRange& range : kCyrillicRanges) {",
        "        for (int glyph = range.first; glyph <= range.last; ++glyph) {",
        "            for (size_t row = 0; row < height; ++row) {",
        "                font[glyph * height + row] = letters[next++];",
        "            }",
        "        }",
        "    }",
        "    return font;",
        "}",
        "",
        "}  // namespace",
        "",
        "constexpr std::array<uint8_t, 2048> kCyrillicFont8x8 =",
        "    withCyrillicLetters(kStandardFont8x8, kCyrillicLetters8x8);",
        "constexpr std::array<uint8_t, 4096> kCyrillicFont8x16 =",
        "    withCyrillicLetters(kStandardFont8x16, kCyrillicLetters8x16);",
        "",
        "}  // namespace vorlane",
        "",
    ]
    return "\n".join(out)


def _ranges(positions: list[int]) -> list[tuple[int, int]]:
    ranges: list[tuple[int, int]] = []
    for pos in positions:
        if ranges and ranges[-1][1] == pos - 1:
            ranges[-1] = (ranges[-1][0], pos)
        else:
            ranges.append((pos, pos))
    return ranges


def main() -> int:
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--fonts", type=Path, default=Path("/usr/share/consolefonts"))
    parser.add_argument("--output", type=Path, default=REPO / "image" / "BuiltinFonts.cpp")
    parser.add_argument("--check", action="store_true", help="compare instead of writing")
    args = parser.parse_args()

    text = render(*build(args.fonts))
    if args.check:
        current = args.output.read_text(encoding="utf-8") if args.output.exists() else None
        if current != text:
            print(f"{args.output} is not what the fonts generate", file=sys.stderr)
            return 1
        return 0
    args.output.write_text(text, encoding="utf-8")
    return 0


if __name__ == "__main__":
    sys.exit(main())
