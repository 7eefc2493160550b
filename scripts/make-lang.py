#!/usr/bin/env python3
"""Writes the shipped language files from their UTF-8 sources.

lang/src/<Language>.txt holds the file as a translator edits it, in UTF-8.
lang/Qorvic_<Language>.Language is the same text with CR LF line ends, in the
fixed code page the program decodes that language with. With --check nothing
is written; the script fails when a shipped file differs from its source.
"""
import pathlib
import sys

VERSION_TAG = "Qorvic  1.10"
ENTRY_LINES = 19
CODE_PAGES = {
    "English": "cp1252",
    "Spanish": "cp1252",
    "German": "cp1252",
    "French": "cp1252",
    "Dutch": "cp1252",
    "Polish": "cp1250",
    "Japanese": "cp932",
    "Russian": "cp1251",
}


def build(source: pathlib.Path, code_page: str) -> bytes:
    lines = source.read_text(encoding="utf-8").split("\n")
    if lines and lines[-1] == "":
        lines.pop()
    if len(lines) != 1 + ENTRY_LINES:
        raise SystemExit(f"{source}: {len(lines)} lines, want {1 + ENTRY_LINES}")
    if not lines[0].endswith(VERSION_TAG):
        raise SystemExit(f"{source}: the first line must end with '{VERSION_TAG}'")
    for number, line in enumerate(lines[1:], start=1):
        if "=" not in line or "\r" in line:
            raise SystemExit(f"{source}:{number + 1}: an entry needs 'label= text'")
        text = line.split("=", 1)[1][1:]
        if not text.strip() or "<" in text or "=" in text:
            raise SystemExit(f"{source}:{number + 1}: empty text or a stray menu marker")
    # strict: a character the code page lacks must fail here, not turn into '?'
    return "".join(line + "\r\n" for line in lines).encode(code_page, errors="strict")


def main() -> int:
    root = pathlib.Path(__file__).resolve().parent.parent / "lang"
    check = "--check" in sys.argv[1:]
    stale = []
    for language, code_page in CODE_PAGES.items():
        data = build(root / "src" / f"{language}.txt", code_page)
        target = root / f"Qorvic_{language}.Language"
        if check:
            if not target.exists() or target.read_bytes() != data:
                stale.append(target.name)
        else:
            target.write_bytes(data)
    if stale:
        print("out of date: " + ", ".join(stale) + " (run scripts/make-lang.py)", file=sys.stderr)
        return 1
    return 0


if __name__ == "__main__":
    sys.exit(main())
