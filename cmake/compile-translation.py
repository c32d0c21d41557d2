#!/usr/bin/env python3
"""Compiles a Qt Linguist .ts file into C++ tables of dialogkit/CompiledTranslation.h, for a build
that has no Qt to load a .qm file at run time.

  compile-translation.py INPUT.ts OUTPUT.cpp NAME LANGUAGE

Takes the messages lrelease puts into a .qm by default: obsolete and vanished ones are left out,
and so is an unfinished one without a translation, while an unfinished one with a translation is
kept. A message with a disambiguating comment is left out too: the kit never asks with one, so Qt
would never find it either. The table registers itself when the program starts."""
import sys
import xml.etree.ElementTree as ET


def text_of(element):
    """The text of a <source>, <translation> or <numerusform>: its <byte value=".."/> elements are
    characters, and of length variants the first, the longest, is taken."""
    if element is None:
        return ""
    variant = element.find("lengthvariant")
    if variant is not None:
        return text_of(variant)
    parts = [element.text or ""]
    for child in element:
        if child.tag == "byte":
            value = child.get("value", "")
            parts.append(chr(int(value[1:], 16) if value.startswith("x") else int(value)))
        parts.append(child.tail or "")
    return "".join(parts)


def forms_of(message):
    translation = message.find("translation")
    if translation is None:
        return "unfinished", [""]
    kind = translation.get("type", "")
    if message.get("numerus") == "yes":
        forms = [text_of(f) for f in translation.findall("numerusform")]
    else:
        forms = [text_of(translation)]
    return kind, forms or [""]


def c_string(text):
    """A C string literal of the UTF-8 bytes of `text`: octal escapes, which cannot run into the
    characters that follow as hexadecimal ones can."""
    out = []
    for byte in text.encode("utf-8"):
        if byte in (0x22, 0x5C) or byte < 0x20 or byte >= 0x7F or byte == 0x3F:
            out.append("\\%03o" % byte)
        else:
            out.append(chr(byte))
    return '"' + "".join(out) + '"'


def main(argv):
    if len(argv) != 5:
        sys.exit("usage: compile-translation.py INPUT.ts OUTPUT.cpp NAME LANGUAGE")
    source_path, output_path, name, language = argv[1:]
    root = ET.parse(source_path).getroot()
    messages = {}
    for context in root.iter("context"):
        context_name = context.findtext("name", "")
        for message in context.findall("message"):
            if message.findtext("comment"):
                continue
            kind, forms = forms_of(message)
            if kind in ("obsolete", "vanished"):
                continue
            if kind == "unfinished" and not forms[0]:
                continue
            key = (context_name.encode("utf-8"), text_of(message.find("source")).encode("utf-8"))
            if key in messages:
                sys.exit("%s: %s: \"%s\" is translated twice" % (
                    source_path, context_name, key[1].decode("utf-8")))
            messages[key] = forms
    lines = [
        "// Generated from %s by cmake/compile-translation.py: edit the .ts file." % (
            source_path.rsplit("/", 1)[-1]),
        '#include "dialogkit/CompiledTranslation.h"',
        "",
        "namespace {",
        "",
    ]
    ordered = sorted(messages.items())
    for index, (_, forms) in enumerate(ordered):
        lines.append("const char* const f%d[] = {%s};" % (
            index, ", ".join(c_string(f) for f in forms)))
    lines.append("")
    lines.append("const vorlane::dk::CompiledMessage messages[] = {")
    for index, ((context, source), forms) in enumerate(ordered):
        lines.append("    {%s, %s, f%d, %d}," % (
            c_string(context.decode("utf-8")), c_string(source.decode("utf-8")), index, len(forms)))
    if not ordered:
        lines.append("    {\"\", \"\", nullptr, 0},")
    lines.append("};")
    lines.append("")
    lines.append("const vorlane::dk::CompiledTranslation translation{%s, %s, messages, %d};" % (
        c_string(name), c_string(language), len(ordered)))
    lines.append("")
    lines.append("[[maybe_unused]] const bool registered = vorlane::dk::registerTranslation(translation);")
    lines.append("")
    lines.append("}  // namespace")
    with open(output_path, "w", encoding="utf-8") as out:
        out.write("\n".join(lines) + "\n")


if __name__ == "__main__":
    main(sys.argv)
