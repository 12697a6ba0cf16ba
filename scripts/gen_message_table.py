#!/usr/bin/env python3
"""Writes src/text/message_table.cpp from the UTF-8 message texts in src/text/messages/.

Every text is encoded into its row's code page and written as C string escapes; the output stays
checked in, so the build needs no Python. Run it after editing the texts:

    python3 scripts/gen_message_table.py [--source DIR] [--output FILE]

A text that its code page cannot hold, an unknown escape or a repeated number stops it with the
file and line at fault; nothing is written then.
"""
import argparse
import codecs
import os
import re
import sys

COLUMN_LIMIT = 100
ENTRY_INDENT = " " * 4
TEXT_INDENT = " " * 5  # continuation lines line up after "{"
HEX_DIGITS = "0123456789abcdefABCDEF"


class SourceError(Exception):
    pass


def read_lines(path):
    """The (line number, line) pairs of a UTF-8 file that are neither blank nor comments."""
    with open(path, encoding="utf-8-sig") as source:
        for number, line in enumerate(source, 1):
            line = line.rstrip("\n")
            if line.strip() and not line.startswith("#"):
                yield number, line


def read_languages(folder):
    """The rows in table order: (language id, code page, file stem, name)."""
    path = os.path.join(folder, "languages.txt")
    rows = []
    for number, line in read_lines(path):
        match = re.fullmatch(r"0x([0-9A-F]{4})\s+(\d+)\s+([a-z_]+)\s+(\S.*)", line)
        if not match:
            raise SourceError(f"{path}:{number}: expected 'id code-page file name'")
        code_page = int(match.group(2))
        try:
            codecs.lookup(f"cp{code_page}")
        except LookupError:
            raise SourceError(f"{path}:{number}: no encoder for code page {code_page}")
        rows.append((int(match.group(1), 16), code_page, match.group(3), match.group(4)))
    if not rows:
        raise SourceError(f"{path}: no languages")
    return rows


def unescape(text, where):
    """The text with \\n and \\\\ replaced; any other backslash is an error."""
    def replace(match):
        if match.group(1) not in ("n", "\\"):
            raise SourceError(f"{where}: unknown escape \\{match.group(1)}")
        return "\n" if match.group(1) == "n" else "\\"

    return re.sub(r"\\(.?)", replace, text)


def read_messages(path, code_page):
    """The (number, encoded bytes of each character) pairs of one language, in file order."""
    messages, seen = [], set()
    for line_number, line in read_lines(path):
        where = f"{path}:{line_number}"
        match = re.fullmatch(r"(\d+) (.+)", line)
        if not match:
            raise SourceError(f"{where}: expected 'number text'")
        if line != line.rstrip():
            raise SourceError(f"{where}: trailing blanks would be part of the text")
        number = int(match.group(1))
        if number in seen:
            raise SourceError(f"{where}: message {number} appears twice")
        seen.add(number)
        characters = []
        for character in unescape(match.group(2), where):
            try:
                encoded = character.encode(f"cp{code_page}")
            except UnicodeEncodeError:
                encoded = None
            # A character that comes back as another one would show the reader the wrong text.
            if encoded is None or encoded.decode(f"cp{code_page}") != character:
                raise SourceError(f"{where}: code page {code_page} has no {character!r}")
            characters.append(encoded)
        messages.append((number, characters))
    return messages


def render(encoded):
    """One character as it stands inside a C literal."""
    if encoded == b"\n":
        return "\\n"
    if encoded in (b"\\", b'"'):
        return "\\" + encoded.decode("ascii")
    if len(encoded) == 1 and 0x20 <= encoded[0] < 0x7F:
        return encoded.decode("ascii")
    return "".join(f"\\x{byte:02X}" for byte in encoded)


def literal(units):
    """The C literal(s) of rendered characters; a hex escape before a hex digit ends its literal."""
    text = ""
    for index, unit in enumerate(units):
        if index and re.search(r"\\x[0-9A-F]{2}$", units[index - 1]) and unit[0] in HEX_DIGITS:
            text += '" "'
        text += unit
    return f'"{text}"'


def fits(units, indent, tail):
    return len(indent) + len(literal(units)) + len(tail) <= COLUMN_LIMIT


def is_word(unit):
    return len(unit) == 1 and (unit.isalnum() or unit in "_%.")


def wrap(units, tail):
    """One run of text as literal lines: whole words where they fit, the tail on the last line."""
    lines = []
    while units:
        if fits(units, TEXT_INDENT, tail):
            lines.append(literal(units))
            break
        count = 1
        while count + 1 < len(units) and fits(units[: count + 1], TEXT_INDENT, ""):
            count += 1
        columns = len(literal(units[:count]))
        after_space = [at for at in range(1, count + 1) if units[at - 1] == " "]
        if after_space and columns - len(literal(units[: after_space[-1]])) <= 30:
            count = after_space[-1]
        else:  # text without spaces (Chinese, Japanese): break between characters, not in a word
            breaks = [at for at in range(1, count + 1)
                      if not (is_word(units[at - 1]) and is_word(units[at]))]
            count = breaks[-1] if breaks else count
        lines.append(literal(units[:count]))
        units = units[count:]
    return lines


def entry_lines(number, characters):
    """The C++ lines of one {number, text} entry."""
    units = [render(encoded) for encoded in characters]
    head = f"{ENTRY_INDENT}{{{number}, "
    runs, start = [], 0  # a literal ends after each line break (or run of them)
    for index, unit in enumerate(units):
        if unit == "\\n" and (index + 1 == len(units) or units[index + 1] != "\\n"):
            runs.append(units[start : index + 1])
            start = index + 1
    if start < len(units):
        runs.append(units[start:])
    if len(runs) == 1 and fits(units, head, "},"):
        return [f"{head}{literal(units)}}},"]
    lines = [f"{ENTRY_INDENT}{{{number},"]
    for index, run in enumerate(runs):
        tail = "}," if index + 1 == len(runs) else ""
        lines += [TEXT_INDENT + text for text in wrap(run, tail)]
    lines[-1] += "},"
    return lines


def array_name(stem):
    return "k" + "".join(part.capitalize() for part in stem.split("_")) + "Messages"


def generate(folder):
    rows = read_languages(folder)
    out = [
        "// Built-in message texts, each stored as bytes in its row's code page.",
        "// Generated from src/text/messages/*.txt by scripts/gen_message_table.py: edit the",
        "// texts there and rerun it. The formatter leaves the script's layout alone.",
        "// clang-format off",
        '#include "text/messages.h"',
    ]
    for _, code_page, stem, name in rows:
        out += ["", f"// {name}, code page {code_page}",
                f"static const MessageEntry {array_name(stem)}[] = {{"]
        for number, characters in read_messages(os.path.join(folder, stem + ".txt"), code_page):
            out += entry_lines(number, characters)
        out += [f"{ENTRY_INDENT}{{0, nullptr}},", "};"]
    out += ["", "// Order matters: the primary-language pass takes the first row that matches.",
            "const LanguageRow LanguageTable[] = {"]
    out += [f"{ENTRY_INDENT}{{0x{language:04X}, {code_page}, {array_name(stem)}}},"
            for language, code_page, stem, _ in rows]
    out += [f"{ENTRY_INDENT}{{0, 0, nullptr}},", "};"]
    return "\n".join(out) + "\n"


def main():
    root = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--source", default=os.path.join(root, "src", "text", "messages"))
    parser.add_argument("--output", default=os.path.join(root, "src", "text", "message_table.cpp"))
    arguments = parser.parse_args()
    try:
        table = generate(arguments.source)
    except (OSError, SourceError) as error:
        print(f"gen_message_table: {error}", file=sys.stderr)
        return 1
    with open(arguments.output, "w", encoding="ascii", newline="\n") as output:
        output.write(table)
    return 0


if __name__ == "__main__":
    sys.exit(main())
