#!/usr/bin/python3
"""Checks the examples of a reference (docs/medium.md) with setup-check, so the text cannot
drift from what the launcher does.

    tools/check_doc_examples.py --checker PATH/TO/setup-check DOC.md [--sample samples/medium]

An example is a fenced block whose info string names a file of the medium:

    ```xml conf.xml expect=item-no-open,launch-no-match
    ```ini Language/de-de.ini expect=none
    ```text files example=drivers
    ```text box example=drivers locale=de_DE

- The first word is the language (for the reader), the second the file: conf.xml,
  Language/UICfg.xml, Language/<code>.ini, or one of
  files        entries to create on the medium, one a line, a folder ending in "/";
  box          the text of a "Configuration exception" box the example shows, each carriage
               return and line feed shown as a line break;
  resolutions  what launch rules resolve to, one "STRID LOCALE MODE PATH" a line: MODE 1, 2
               or 3, or - for a rule without {language} and for one that matched nothing; PATH
               relative to the medium, or "none" when the user gets the box. Lines starting
               with "#" are comments.
- expect=: the finding codes setup-check reports for that file, all of them, comma-separated,
  a code once per finding; "none" for none. Every file block states it.
- example=NAME: blocks of one name make one medium, in the order they stand; a block without
  it is a medium of its own. locale=xx_YY on any of them checks that one user only.

Each medium is a copy of the sample medium (conf.xml, Language, Setup with a stand-in .exe
beside each installer plan, Manuals; no skin) with the example's files written over it.
Every other fenced xml or ini block is an error: an example that is not checked is not allowed.

Exit status: 0 every example holds, 1 one does not, 2 the document or the checker is unusable.
"""

import argparse
import json
import os
import re
import shutil
import subprocess
import sys
import tempfile

FENCE = re.compile(r"^(```+)(.*)$")
LANGUAGE_FILE = re.compile(r"^Language/[A-Za-z0-9_-]+\.ini$")
CHECKED_LANGUAGES = {"xml", "ini"}
NOT_FILES = ("files", "box", "resolutions")
SAMPLE = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "samples", "medium")


class DocumentError(Exception):
    pass


class Block:
    def __init__(self, line, language, target, options, text):
        self.line = line
        self.language = language
        self.target = target
        self.options = options
        self.text = text

    def expected(self):
        value = self.options.get("expect")
        if value is None:
            raise DocumentError(f"line {self.line}: {self.target} example without expect=")
        return [] if value == "none" else sorted(code for code in value.split(",") if code)


def fenced_blocks(text):
    """(line, info string, body) of every fenced block."""
    lines = text.split("\n")
    i = 0
    while i < len(lines):
        match = FENCE.match(lines[i])
        if not match:
            i += 1
            continue
        fence, info, start = match.group(1), match.group(2).strip(), i
        body = []
        i += 1
        while i < len(lines) and not lines[i].startswith(fence):
            body.append(lines[i])
            i += 1
        if i >= len(lines):
            raise DocumentError(f"line {start + 1}: the block is never closed")
        yield start + 1, info, "\n".join(body) + "\n"
        i += 1


def is_target(word):
    return word in ("conf.xml", "Language/UICfg.xml") + NOT_FILES or bool(LANGUAGE_FILE.match(word))


def read_examples(text):
    """The examples as lists of blocks, in document order."""
    examples, named = [], {}
    for line, info, body in fenced_blocks(text):
        words = info.split()
        language = words[0] if words else ""
        if len(words) < 2 or not is_target(words[1]):
            if language in CHECKED_LANGUAGES:
                raise DocumentError(f"line {line}: an {language} block that names no file of the medium is not "
                                    "checked; give it one (```xml conf.xml expect=...)")
            continue
        options = {}
        for word in words[2:]:
            key, equals, value = word.partition("=")
            if not equals or key not in ("expect", "example", "locale"):
                raise DocumentError(f"line {line}: unknown option {word!r}")
            options[key] = value
        block = Block(line, language, words[1], options, body)
        if block.target not in NOT_FILES:
            block.expected()
        name = options.get("example")
        if name is None:
            examples.append([block])
        elif name in named:
            named[name].append(block)
        else:
            named[name] = [block]
            examples.append(named[name])
    return examples


def base_medium(folder, sample):
    for part in ("conf.xml", "Language", "Setup", "Manuals"):
        source = os.path.join(sample, part)
        if os.path.isdir(source):
            shutil.copytree(source, os.path.join(folder, part))
        else:
            shutil.copy(source, folder)
    # Each installer plan gets its installer, as tools/make_medium.sh gives it the sample installer.
    for parent, _, names in os.walk(os.path.join(folder, "Setup")):
        for name in names:
            if name.endswith(".ini"):
                open(os.path.join(parent, name[:-4] + ".exe"), "wb").close()


def write_example(folder, blocks):
    for block in blocks:
        if block.target in ("box", "resolutions"):
            continue
        if block.target == "files":
            for entry in block.text.split("\n"):
                entry = entry.strip()
                if not entry:
                    continue
                path = os.path.join(folder, entry)
                if entry.endswith("/"):
                    os.makedirs(path, exist_ok=True)
                else:
                    os.makedirs(os.path.dirname(path), exist_ok=True)
                    open(path, "wb").close()
            continue
        path = os.path.join(folder, block.target)
        os.makedirs(os.path.dirname(path), exist_ok=True)
        with open(path, "w", encoding="utf-8", newline="") as file:
            file.write(block.text)


def run_checker(checker, folder, locale):
    command = [checker, "--json", folder] + (["--locale", locale] if locale else [])
    result = subprocess.run(command, capture_output=True, check=False)
    if result.returncode not in (0, 1, 2):
        raise DocumentError(f"{' '.join(command)} failed ({result.returncode}): {result.stderr.decode(errors='replace')}")
    return json.loads(result.stdout.decode("utf-8"))


def check_resolutions(block, resolutions):
    problems = []
    for number, line in enumerate(block.text.split("\n"), start=block.line + 1):
        fields = line.split()
        if not fields or fields[0].startswith("#"):
            continue
        if len(fields) != 4:
            raise DocumentError(f"line {number}: a resolution is STRID LOCALE MODE PATH")
        strid, locale, mode, path = fields
        found = [r for r in resolutions if r["strId"] == strid and r["locale"] == locale]
        if len(found) != 1:
            problems.append(f"line {number}: {len(found)} resolutions of {strid} for {locale}")
            continue
        actual = ("-" if found[0]["mode"] is None else str(found[0]["mode"]), found[0]["path"] or "none")
        if actual != (mode, path):
            problems.append(f"line {number}: {strid} for {locale}: expected {mode} {path}, setup-check finds "
                            f"{actual[0]} {actual[1]}")
    return problems


def check_example(blocks, checker, sample):
    """Problems of one example, as lines of text; none when it holds."""
    locales = {block.options["locale"] for block in blocks if "locale" in block.options}
    if len(locales) > 1:
        raise DocumentError(f"line {blocks[0].line}: one example, several locales")
    folder = tempfile.mkdtemp(prefix="doc_example_")
    try:
        base_medium(folder, sample)
        write_example(folder, blocks)
        report = run_checker(checker, folder, locales.pop() if locales else None)
    finally:
        shutil.rmtree(folder)
    problems = []
    for block in blocks:
        if block.target == "files":
            continue
        if block.target == "box":
            boxes = [f["boxText"].replace("\r", "\n") for f in report["findings"] if f.get("boxText")]
            if block.text.rstrip("\n") not in boxes:
                problems.append(f"line {block.line}: the box reads otherwise: " +
                                (" | ".join(repr(box) for box in boxes) or "no box at all"))
            continue
        if block.target == "resolutions":
            problems += check_resolutions(block, report["resolutions"])
            continue
        found = sorted(f["code"] for f in report["findings"] if f["file"] == block.target)
        if found != block.expected():
            messages = [f"    {f['code']}: {f['message']}" for f in report["findings"] if f["file"] == block.target]
            problems.append(f"line {block.line}: {block.target}: expected {','.join(block.expected()) or 'none'}, "
                            f"setup-check reports {','.join(found) or 'none'}" +
                            ("".join("\n" + message for message in messages)))
    return problems


def main():
    parser = argparse.ArgumentParser(description=__doc__.split("\n")[0])
    parser.add_argument("document")
    parser.add_argument("--checker", required=True, help="the setup-check program")
    parser.add_argument("--sample", default=SAMPLE, help="the sample medium the examples are written over")
    arguments = parser.parse_args()
    try:
        with open(arguments.document, encoding="utf-8") as file:
            examples = read_examples(file.read())
        if not examples:
            raise DocumentError("no checked example at all")
        failures = 0
        for blocks in examples:
            problems = check_example(blocks, arguments.checker, arguments.sample)
            where = f"line {blocks[0].line}" + (f" ({blocks[0].options['example']})" if "example" in blocks[0].options
                                                else "")
            print(("FAIL  " if problems else "ok    ") + where)
            for problem in problems:
                print("      " + problem)
            failures += bool(problems)
    except (DocumentError, OSError, json.JSONDecodeError) as error:
        print(f"{arguments.document}: {error}", file=sys.stderr)
        return 2
    print(f"{len(examples) - failures} of {len(examples)} examples hold")
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
