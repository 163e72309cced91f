"""The measurements of one preview and the list of texts that do not fit: parsed from the
measuring program's output, named (slot, conf.xml item), gathered across pages, and written as
text or as JSON in the style of setup-check's report."""

import os
import xml.etree.ElementTree as ElementTree

SCHEMA = 1
PAGES = ("menu", "default", "custom", "manuals", "progress", "finish", "restart")
PAGE_TITLES = {
    "menu": "menu", "default": "default installation", "custom": "custom installation", "manuals": "manuals",
    "progress": "progress", "finish": "finish", "restart": "restart countdown",
}
INSTALL_LIST = 1061
MANUAL_LIST = 1044
RESULT_SLOTS = (36, 37)


class Measured:
    """One text as the measuring program saw it on one page."""

    FIELDS = ("id", "row", "column", "kind", "slot", "x", "y", "width", "height", "needed_width", "needed_height",
              "available_width", "available_height", "needed_lines", "shown_lines", "fits", "ink_x", "ink_y",
              "ink_width", "ink_height", "text")

    def __init__(self, page, **values):
        self.page = page
        for name in self.FIELDS:
            setattr(self, name, values[name])

    @property
    def key(self):
        """Which text of which control: the same text in the same place on two pages is one."""
        return (self.id, self.row, self.column, self.text)

    @property
    def box(self):
        return (self.x, self.y, self.width, self.height)

    @property
    def ink(self):
        return (self.ink_x, self.ink_y, self.ink_width, self.ink_height)


def unescape(text):
    out, i = [], 0
    escapes = {"\\": "\\", "t": "\t", "r": "\r", "n": "\n"}
    while i < len(text):
        if text[i] == "\\" and i + 1 < len(text) and text[i + 1] in escapes:
            out.append(escapes[text[i + 1]])
            i += 2
        else:
            out.append(text[i])
            i += 1
    return "".join(out)


def parse_measure(output, page):
    """The window's client rectangle on the screen (x, y, width, height) and the texts measured."""
    window = None
    measured = []
    for line in output.replace("\r\n", "\n").split("\n"):
        fields = line.split("\t")
        if fields[0] == "window" and len(fields) == 5:
            window = tuple(int(value) for value in fields[1:])
        elif fields[0] == "text" and len(fields) == len(Measured.FIELDS) + 1:
            values = dict(zip(Measured.FIELDS, fields[1:]))
            for name in Measured.FIELDS:
                if name not in ("kind", "text"):
                    values[name] = int(values[name])
            values["fits"] = values["fits"] != 0
            values["text"] = unescape(values["text"])
            if values["slot"] < 0:
                values["slot"] = None
            measured.append(Measured(page, **values))
    return window, measured


def parse_lists(output):
    """The visible lists of a page: {id: (x, y, width, height)} in the window's client area."""
    lists = {}
    for line in output.replace("\r\n", "\n").split("\n"):
        fields = line.split("\t")
        if fields[0] == "list" and len(fields) == 6:
            lists[int(fields[1])] = tuple(int(value) for value in fields[2:])
    return lists


def facts_window(facts):
    """The window's (width, height) in window_facts' output."""
    for line in facts.replace("\r\n", "\n").split("\n"):
        fields = line.split("\t")
        if fields[0] == "window" and len(fields) >= 5:
            return int(fields[3]), int(fields[4])
    return None


def slot_of_entry(index):
    """UICfg.xml's entry k fills slot k up to 34; entries 35 and 36 fill slots 36 and 37."""
    if index <= 34:
        return index
    return index + 1 if index <= 36 else None


def read_ini_values(path):
    """Section ROOT of a language file as the launcher reads it: keys without case, the first of
    a key wins, blanks and one pair of quotes around the value removed."""
    values = {}
    try:
        with open(path, "rb") as file:
            lines = file.read().decode("utf-8", errors="replace").splitlines()
    except OSError:
        return values
    section = None
    for line in lines:
        stripped = line.strip()
        if stripped.startswith("[") and stripped.endswith("]"):
            section = stripped[1:-1].strip().upper()
        elif section == "ROOT" and "=" in stripped and not stripped.startswith(";"):
            key, value = (part.strip() for part in stripped.split("=", 1))
            if len(value) >= 2 and value[0] == value[-1] and value[0] in "\"'":
                value = value[1:-1]
            values.setdefault(key.upper(), value)
    return values


def result_texts(medium, language_file):
    """The two result texts of the status column, {text: slot}, for naming a status cell."""
    try:
        root = ElementTree.parse(os.path.join(medium, "Language", "UICfg.xml")).getroot()
    except (OSError, ElementTree.ParseError):
        return {}
    values = read_ini_values(os.path.join(medium, language_file))
    texts = {}
    for index, entry in enumerate(root):
        slot = slot_of_entry(index)
        if slot in RESULT_SLOTS:
            text = values.get((entry.text or "").strip().upper(), "")
            if text:
                texts.setdefault(text, slot)
    return texts


OVERFLOW = "overflow"  # wider or taller than its control
COLLISION = "collision"  # fits its control, but its pixels run into another control's text


class Overflow:
    """A text that does not fit, with every page it shows on."""

    def __init__(self, run, measured, item=None, problem=OVERFLOW, other=None):
        self.run = run
        self.measured = measured
        self.pages = [measured.page]
        self.item = item  # (list name, strId) for a row's text
        self.problem = problem
        self.other = other  # the Measured it runs into, for a collision

    @property
    def slot(self):
        return self.measured.slot

    @property
    def key(self):
        return self.measured.key + ((self.problem, self.other.id) if self.other else (self.problem,))


def overlap(a, b):
    """Whether two rectangles (x, y, width, height) share pixels."""
    return (a[2] > 0 and a[3] > 0 and b[2] > 0 and b[3] > 0 and a[0] < b[0] + b[2] and b[0] < a[0] + a[2]
            and a[1] < b[1] + b[3] and b[1] < a[1] + a[3])


def collisions(measured):
    """Pairs (a, b) of labels and buttons on one page whose texts' pixels meet; a is the one the
    window's table lists first (the layout lets some controls overlap: a label that takes more
    lines than the one under it leaves room for runs into it)."""
    drawn = [m for m in measured if m.kind in ("label", "button")]
    return [(a, b) for i, a in enumerate(drawn) for b in drawn[i + 1:] if overlap(a.ink, b.ink)]


def marked_boxes(measured):
    """The rectangles a page's picture frames: each control whose text does not fit, and the texts
    of two controls that run into each other."""
    boxes = [m.box for m in measured if not m.fits]
    for a, b in collisions(measured):
        boxes += [box for box in (a.ink, b.ink) if box not in boxes]
    return boxes


def name_texts(measured, item_ids, results):
    """Fills in what the measuring program cannot know: the result slot of a status cell and the
    conf.xml item of a row. Returns {key: (list name, strId)} for the rows."""
    items = {}
    for m in measured:
        if m.kind != "cell":
            continue
        if m.column == 0:
            list_name = "installs" if m.id == INSTALL_LIST else "manuals" if m.id == MANUAL_LIST else None
            ids = item_ids.get(list_name, []) if list_name else []
            items[m.key] = (list_name, ids[m.row] if 0 <= m.row < len(ids) else None)
        elif m.slot is None and m.text in results:
            m.slot = results[m.text]
    return items


def gather(run, pages, item_ids, results):
    """The overflows of one language, each once, in page order; `pages` maps page names to the
    measured texts of that page."""
    found = {}
    for page in PAGES:
        measured = pages.get(page) or []
        items = name_texts(measured, item_ids, results)
        candidates = [Overflow(run, m, items.get(m.key)) for m in measured if not m.fits]
        candidates += [Overflow(run, a, items.get(a.key), COLLISION, b) for a, b in collisions(measured)]
        for candidate in candidates:
            if candidate.key in found:
                if page not in found[candidate.key].pages:
                    found[candidate.key].pages.append(page)
            else:
                found[candidate.key] = candidate
    return list(found.values())


def size_text(width, height, lines):
    return f"{width} x {height} px" + (f", {lines} line{'s' if lines != 1 else ''}" if lines else "")


def describe(overflow):
    m = overflow.measured
    where = f"control {m.id}"
    if m.row >= 0:
        where += f" row {m.row} column {m.column}"
    if m.slot is not None:
        what = f"slot {m.slot}"
    elif overflow.item and overflow.item[1]:
        what = f"item {overflow.item[1]}"
    else:
        what = "-"
    lines = m.kind == "label"
    needed = size_text(m.needed_width, m.needed_height, m.needed_lines if lines else 0)
    available = size_text(m.available_width, m.available_height, m.shown_lines if lines else 0)
    if overflow.problem == COLLISION:
        problem = f"{m.kind} runs into control {overflow.other.id} ({overflow.other.text})"
    else:
        problem = f"{m.kind} needs {needed}, has {available}"
    run = overflow.run
    return f"{run.code} ({run.locale})  {','.join(overflow.pages)}  {where}  {what}  {problem}: {m.text}"


def text_report(overflows, problems):
    lines = [describe(overflow) for overflow in overflows]
    lines += [f"{code}: {problem}" for code, problem in problems]
    return "\n".join(lines) + ("\n" if lines else "")


def json_overflow(overflow, images):
    m = overflow.measured
    return {
        "file": overflow.run.file,
        "code": overflow.run.code,
        "locale": overflow.run.locale,
        "page": overflow.pages[0],
        "pages": overflow.pages,
        "problem": overflow.problem,
        "control": m.id,
        "kind": m.kind,
        "row": m.row if m.row >= 0 else None,
        "column": m.column if m.column >= 0 else None,
        "slot": m.slot,
        "item": {"list": overflow.item[0], "strId": overflow.item[1]} if overflow.item else None,
        "text": m.text,
        "needed": {"width": m.needed_width, "height": m.needed_height,
                   "lines": m.needed_lines if m.kind == "label" else 1},
        "available": {"width": m.available_width, "height": m.available_height,
                      "lines": m.shown_lines if m.kind == "label" else 1},
        "with": {"control": overflow.other.id, "text": overflow.other.text} if overflow.other else None,
        "image": images.get((overflow.run.code, overflow.pages[0])),
    }


def json_report(medium, sheet, seconds, languages, overflows, problems, exit_status, images, scale=100):
    """languages: [(run, [page names shown], stand-in runs)]; problems: [(code, text)]."""
    return {
        "tool": "setup-preview",
        "schema": SCHEMA,
        "medium": medium,
        "scale": scale,
        "sheet": sheet,
        "seconds": round(seconds, 1),
        "summary": {"languages": len(languages), "overflows": len(overflows), "problems": len(problems),
                    "exitStatus": exit_status},
        "languages": [{"file": run.file, "code": run.code, "locale": run.locale, "forced": run.forced,
                       "pages": shown, "installersRun": ran} for run, shown, ran in languages],
        "overflows": [json_overflow(overflow, images) for overflow in overflows],
        "problems": [{"code": code, "message": text} for code, text in problems],
    }
