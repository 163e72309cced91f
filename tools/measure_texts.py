#!/usr/bin/python3
"""Measures every interface text of a medium against the control that shows it.

    tools/measure_texts.py MEDIUM_FOLDER [--codes de-de,fr-fr] [--all] [--summary]

Reads Language/UICfg.xml (entry order decides the slot, as in the launcher), conf.xml (the
item texts) and the language file of each language code the launcher can pick, and checks:
- the file is UTF-8 without a byte-order mark, has a [ROOT] section with every key once, and no
  value is longer than 254 bytes;
- every text fits its control: one-line controls (buttons, headings, list cells) by width,
  word-wrapping labels by the number of lines their height holds; the progress heading with
  its five dots; the two lines of the exit question within 253 UTF-16 units.

Widths are computed the way GDI measures a line: the sum of each character's hinted advance
at the font's pixel size, without kerning. The launcher draws with Arial; Liberation Sans has
the same advance widths. Characters that Arial lacks (Chinese, Japanese, Korean) are measured in
WenQuanYi Micro Hei, whose ideographs, kana and Hangul are one em wide like those of the fonts
Windows links to Arial. Fonts: Debian's fonts-liberation and fonts-wqy-microhei, read with
python3-fonttools.

Every text must leave a margin of 4 % of its control's width (at least 4 px). Exit status:
0 every text fits, 1 a text does not fit or a language file is faulty, 2 the medium or a font
could not be read.

The control table below follows the main window's fixed layout (rectangles and fonts).
"""

import argparse
import math
import os
import sys
import xml.etree.ElementTree as ElementTree

from fontTools.ttLib import TTCollection, TTFont

LANGUAGE_CODES = ["zh-cn", "zh-tw", "de-de", "en-us", "fr-fr", "ja-jp", "ko-ko", "nl-nl", "pl-pl", "pt-pt", "ru-ru"]
LATIN_FONT = "/usr/share/fonts/truetype/liberation/LiberationSans-Regular.ttf"
LATIN_BOLD_FONT = "/usr/share/fonts/truetype/liberation/LiberationSans-Bold.ttf"
FALLBACK_FONT = "/usr/share/fonts/truetype/wqy/wqy-microhei.ttc"
MAX_VALUE_BYTES = 254
EXIT_QUESTION_UNITS = 253
DOTS = "....."

# Arial's cell (ascent + descent) is 2288 of its 2048 units per em; a line of wrapped text takes
# the cell height and GDI rounds up, so one pixel is added.
CELL_PER_EM = 2288 / 2048


class Font:
    """One of the window's fonts: a pixel size, bold or not."""

    def __init__(self, name, ppem, bold=False, line_height=None):
        self.name = name
        self.ppem = ppem
        self.bold = bold
        self.line_height = line_height or math.ceil(ppem * CELL_PER_EM) + 1


# m_fontTitle is a cell height of 30 px (an em of 27 px); the point fonts at 96 dpi are
# 16 pt = 21 px, 14 pt = 19 px, 10 pt = 13 px.
TITLE = Font("title 30 px bold", 27, bold=True, line_height=30)
F16 = Font("16 pt", 21)
F14 = Font("14 pt", 19)
F10 = Font("10 pt", 13)

# Kinds of control. A label wraps words and holds as many lines as its height allows (or as
# the controls below it leave room for); a button, heading or list cell holds one line.
LABEL, BUTTON, LIST_CELL = "label", "button", "list cell"

# Room that a kind of control leaves around its text: buttons have rounded corners, list cells
# a few pixels of padding, a check box and an icon.
BUTTON_PADDING = 12
CELL_PADDING = 12
LIST_PICTURE = 16


class Control:
    def __init__(self, name, kind, width, font, lines=1, suffix=""):
        self.name = name
        self.kind = kind
        self.width = width
        self.font = font
        self.lines = lines
        self.suffix = suffix


# Slot -> the controls that show it. Slots 12-15, 29 and 35 are shown nowhere; 32-34 form the
# exit question, a message box that sizes itself.
SLOT_CONTROLS = {
    0: [Control("title", LABEL, 400, TITLE)],
    1: [Control("subtitle", LABEL, 300, F10, lines=2)],
    2: [Control("default installation button", BUTTON, 400, F16), Control("page heading", LABEL, 300, F16)],
    # 1007 (450 wide) and 1011 (400 wide) overlap from y 224 on: each keeps to one line.
    3: [Control("default installation info", LABEL, 450, F10)],
    4: [Control("default installation info 2", LABEL, 400, F10)],
    5: [Control("menu button", BUTTON, 280, F14), Control("page heading", LABEL, 300, F16)],
    6: [Control("custom installation info", LABEL, 400, F10, lines=2)],
    7: [Control("menu button", BUTTON, 280, F14), Control("page heading", LABEL, 300, F16)],
    8: [Control("manuals info", LABEL, 400, F10)],
    9: [Control("menu button", BUTTON, 280, F14)],
    10: [Control("page text", LABEL, 500, F10)],
    11: [Control("page text (two lines)", LABEL, 500, F10, lines=2)],
    16: [Control("page button", BUTTON, 136, F16)],
    17: [Control("page button", BUTTON, 136, F16)],
    18: [Control("page button", BUTTON, 136, F16)],
    19: [Control("progress heading", LABEL, 500, F16, suffix=DOTS),
         Control("status column", LIST_CELL, 95, F10, suffix=DOTS)],
    20: [Control("page text (two lines)", LABEL, 500, F10, lines=2)],
    21: [Control("page heading", LABEL, 300, F16)],
    22: [Control("finish text", LABEL, 300, F10)],
    23: [Control("page button", BUTTON, 136, F16)],
    24: [Control("select button", BUTTON, 120, F10)],
    25: [Control("select button", BUTTON, 120, F10)],
    26: [Control("page text", LABEL, 500, F10)],
    # 1039 is 30 high but 1040 starts 18 px below it.
    27: [Control("page text", LABEL, 500, F10)],
    28: [Control("page text", LABEL, 500, F10)],
    # 1056 starts at x 267 and the seconds (30 pt) at x 300: the lead has 33 px.
    30: [Control("restart lead", LABEL, 33, F16)],
    31: [Control("restart text", LABEL, 500, F16, lines=3)],
    36: [Control("status column", LIST_CELL, 95, F10)],
    37: [Control("status column", LIST_CELL, 95, F10)],
}

# Item rows: the installer list's first column is 495 px, 400 once a run added the status
# column; rows carry a check box and an icon. Manual rows carry an icon.
INSTALL_ROW = Control("installer row", LIST_CELL, 400 - 2 * LIST_PICTURE, F10)
MANUAL_ROW = Control("manual row", LIST_CELL, 495 - LIST_PICTURE, F10)

CJK_CLOSING = set("，。、：；！？）」』】〉》・ー…,.!?:;)")
CJK_OPENING = set("（「『【〈《(")


def fail_to_run(message):
    print(f"measure_texts: {message}", file=sys.stderr)
    sys.exit(2)


def slot_of_entry(index):
    """Entry k fills slot k up to 34; entries 35 and 36 fill slots 36 and 37."""
    if index <= 34:
        return index
    if index <= 36:
        return index + 1
    return None


def is_wide(char):
    code = ord(char)
    return (0x1100 <= code <= 0x11FF or 0x2E80 <= code <= 0x9FFF or 0xAC00 <= code <= 0xD7AF
            or 0xF900 <= code <= 0xFAFF or 0xFF00 <= code <= 0xFF60 or 0x3000 <= code <= 0x303F)


class Metrics:
    """Advance widths in whole pixels, as GDI gives them for one font size."""

    def __init__(self):
        try:
            self.latin = TTFont(LATIN_FONT)
            self.latin_bold = TTFont(LATIN_BOLD_FONT)
            self.fallback = TTCollection(FALLBACK_FONT).fonts[0]
        except OSError as error:
            fail_to_run(f"cannot read a font ({error}); install fonts-liberation and fonts-wqy-microhei")
        self.maps = {id(font): font.getBestCmap() for font in (self.latin, self.latin_bold, self.fallback)}

    def char_width(self, char, font):
        for face in ((self.latin_bold if font.bold else self.latin), self.fallback):
            glyph = self.maps[id(face)].get(ord(char))
            if glyph is not None:
                advance = face["hmtx"][glyph][0] * font.ppem / face["head"].unitsPerEm
                # Hinting widens most glyphs to the next whole pixel: rounding up from a quarter
                # pixel gives GDI's hinted widths within a pixel or two per line.
                return math.floor(advance + 0.75)
        return None

    def width(self, text, font):
        total = 0
        for char in text:
            advance = self.char_width(char, font)
            if advance is None:
                raise ValueError(f"no font has the character U+{ord(char):04X}")
            total += advance
        return total


def drawn_text(text):
    """What DrawText shows: "&&" is one ampersand, a single "&" only underlines the next letter."""
    out, i = [], 0
    while i < len(text):
        if text[i] == "&" and i + 1 < len(text):
            out.append(text[i + 1])
            i += 2
        elif text[i] == "&":
            i += 1
        else:
            out.append(text[i])
            i += 1
    return "".join(out)


def break_units(text):
    """Splits a text into units that a line may end after: words, and single CJK characters
    (closing punctuation stays with the character before it, opening with the one after)."""
    units = []  # (text, space before it)
    space = False
    current = ""
    for char in text:
        if char == " ":
            if current:
                units.append((current, space))
                current = ""
            space = True
            continue
        if is_wide(char) and current and not (current[-1] in CJK_OPENING) and char not in CJK_CLOSING:
            units.append((current, space))
            current, space = "", False
        elif current and is_wide(current[-1]) and current[-1] not in CJK_OPENING and char not in CJK_CLOSING:
            units.append((current, space))
            current, space = "", False
        current += char
    if current:
        units.append((current, space))
    return units


def wrap(text, width, font, metrics):
    """Greedy word wrap at width; returns the lines (a unit wider than a line stands alone)."""
    lines, line = [], ""
    for unit, space in break_units(text):
        candidate = (line + " " + unit) if (line and space) else (line + unit)
        if not line or metrics.width(candidate, font) <= width:
            line = candidate
        else:
            lines.append(line)
            line = unit
    if line or not lines:
        lines.append(line)
    return lines


def required_margin(width):
    return max(4, round(width * 0.04))


class Finding:
    def __init__(self, code, key, slot, control, text, width, usable, lines=1, capacity=1, problem=None):
        self.code, self.key, self.slot, self.control = code, key, slot, control
        self.text, self.width, self.usable = text, width, usable
        self.lines, self.capacity, self.problem = lines, capacity, problem

    @property
    def slack(self):
        return self.usable - self.width


def measure(code, key, slot, control, value, metrics):
    text = drawn_text(value) + control.suffix
    padding = {BUTTON: BUTTON_PADDING, LIST_CELL: CELL_PADDING}.get(control.kind, 0)
    usable = control.width - padding - required_margin(control.width)
    try:
        if control.kind == LABEL and control.lines > 1:
            lines = wrap(text, usable, control.font, metrics)
            widest = max(metrics.width(line, control.font) for line in lines)
            problem = None
            if len(lines) > control.lines:
                problem = f"needs {len(lines)} lines, the control holds {control.lines}"
            elif widest > usable:
                problem = f"a word of {widest} px does not fit {usable} px"
            return Finding(code, key, slot, control, text, widest, usable, len(lines), control.lines, problem)
        width = metrics.width(text, control.font)
    except ValueError as error:
        return Finding(code, key, slot, control, text, 0, usable, problem=str(error))
    problem = None if width <= usable else f"{width} px, room for {usable} px"
    return Finding(code, key, slot, control, text, width, usable, problem=problem)


def read_language_file(path):
    """Returns (values, problems): the first value of each key of section ROOT (keys compared
    without case), and what is wrong with the file itself."""
    problems = []
    try:
        raw = open(path, "rb").read()
    except OSError:
        return None, ["missing"]
    if raw.startswith(b"\xef\xbb\xbf"):
        problems.append("starts with a byte-order mark: the first line is then not [ROOT] for the launcher")
    try:
        text = raw.decode("utf-8")
    except UnicodeDecodeError as error:
        return None, problems + [f"not UTF-8 ({error})"]
    values, section, seen, sections = {}, None, set(), set()
    for number, line in enumerate(text.replace("\r\n", "\n").split("\n"), 1):
        stripped = line.strip()
        if not stripped or stripped.startswith(";"):
            continue
        if stripped.startswith("[") and stripped.endswith("]"):
            section = stripped[1:-1].strip().upper()
            sections.add(section)
            continue
        if section != "ROOT" or "=" not in stripped:
            continue
        key, value = (part.strip() for part in stripped.split("=", 1))
        if len(value) >= 2 and value[0] == value[-1] and value[0] in "\"'":
            value = value[1:-1]
        if key.upper() in seen:
            problems.append(f"line {number}: {key} is defined again (the first value wins)")
            continue
        seen.add(key.upper())
        if len(value.encode("utf-8")) > MAX_VALUE_BYTES:
            problems.append(f"line {number}: {key} has {len(value.encode('utf-8'))} bytes, more than {MAX_VALUE_BYTES}")
        values[key.upper()] = value
    if "ROOT" not in sections:
        problems.append("has no [ROOT] section")
    return values, problems


def read_medium(folder):
    try:
        ui = ElementTree.parse(os.path.join(folder, "Language", "UICfg.xml")).getroot()
        conf = ElementTree.parse(os.path.join(folder, "conf.xml")).getroot()
    except (OSError, ElementTree.ParseError) as error:
        fail_to_run(str(error))
    slot_keys = {}
    for index, entry in enumerate(ui):
        slot = slot_of_entry(index)
        if slot is not None:
            slot_keys[slot] = (entry.text or "").strip()
    items = []  # (strId, control)
    for list_name, row in (("installs", INSTALL_ROW), ("manuals", MANUAL_ROW)):
        element = conf.find(list_name)
        for item in (element.findall("item") if element is not None else []):
            items.append((item.get("strId", ""), row))
    return slot_keys, items


def check_language(folder, code, slot_keys, items, metrics):
    values, problems = read_language_file(os.path.join(folder, "Language", code + ".ini"))
    findings = []
    if values is None:
        return findings, problems

    missing = []

    def value_of(key):
        if key and key.upper() not in values and key not in missing:
            missing.append(key)
        return values.get(key.upper(), "") if key else ""

    for slot in sorted(slot_keys):
        key = slot_keys[slot]
        value = value_of(key)
        for control in SLOT_CONTROLS.get(slot, []):
            findings.append(measure(code, key, slot, control, value, metrics))
    for str_id, row in items:
        findings.append(measure(code, str_id, None, row, value_of(str_id), metrics))
    question = len(value_of(slot_keys.get(32, "")).encode("utf-16-le")) // 2 + 2 + \
        len(value_of(slot_keys.get(33, "")).encode("utf-16-le")) // 2
    if question > EXIT_QUESTION_UNITS:
        problems.append(f"the exit question has {question} UTF-16 units, more than {EXIT_QUESTION_UNITS}")
    return findings, problems + [f"{key} is missing" for key in missing]


def tightness(finding):
    """Orders findings of one control: more lines used first, then less room left."""
    return (finding.lines, -finding.slack)


def print_summary(codes, tightest):
    """The tightest text of each kind of control in each language: "text/room" in pixels, or
    "lines/capacity" for labels of several lines."""
    print("\nTightest text per control and language (text width/room after padding and margin, in px;")
    print("labels of several lines: lines used/lines held):")
    print(f"{'control':44}" + "".join(f"{code:>10}" for code in codes))
    for kind in sorted(tightest, key=lambda k: (-k[1], k[0])):
        name, width, font = kind
        cells = []
        for code in codes:
            finding = tightest[kind].get(code)
            if finding is None:
                cells.append("-")
            elif finding.capacity > 1:
                cells.append(f"{finding.lines}/{finding.capacity}")
            else:
                cells.append(f"{finding.width}/{finding.usable}")
        print(f"{name + f' ({width} px, {font})':44}" + "".join(f"{cell:>10}" for cell in cells))


def describe(finding):
    where = f"slot {finding.slot}" if finding.slot is not None else "item"
    fit = f"{finding.width:4d} of {finding.usable:4d} px"
    if finding.capacity > 1:
        fit += f", {finding.lines}/{finding.capacity} lines"
    return f"{finding.code}  {where:8} {finding.key:22} {finding.control.name:28} {fit:28} {finding.text}"


def main():
    parser = argparse.ArgumentParser(description="Measures a medium's interface texts against their controls.")
    parser.add_argument("medium")
    parser.add_argument("--codes", help="comma-separated language codes (default: all eleven)")
    parser.add_argument("--all", action="store_true", help="list every text, not only those that do not fit")
    parser.add_argument("--summary", action="store_true", help="the tightest text per control kind and language")
    options = parser.parse_args()
    if not os.path.isdir(options.medium):
        print(f"measure_texts: no folder {options.medium}", file=sys.stderr)
        return 2
    codes = options.codes.split(",") if options.codes else LANGUAGE_CODES
    metrics = Metrics()
    slot_keys, items = read_medium(options.medium)
    if len(slot_keys) < 37:
        print(f"UICfg.xml: {len(slot_keys)} slots filled, 37 expected")
    faults = 0
    tightest = {}
    for code in codes:
        findings, problems = check_language(options.medium, code, slot_keys, items, metrics)
        for problem in problems:
            print(f"{code}  {problem}")
        faults += len(problems)
        for finding in findings:
            if finding.problem:
                faults += 1
                print(f"{describe(finding)}\n        does not fit: {finding.problem}")
            elif options.all:
                print(describe(finding))
            kind = (finding.control.name, finding.control.width, finding.control.font.name)
            best = tightest.setdefault(kind, {}).get(code)
            if best is None or tightness(finding) > tightness(best):
                tightest[kind][code] = finding
    if options.summary:
        print_summary(codes, tightest)
    if len(slot_keys) < 37:
        faults += 1
    print(f"{len(codes)} language files, {faults} problems")
    return 1 if faults else 0


if __name__ == "__main__":
    sys.exit(main())
