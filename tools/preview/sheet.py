"""The preview's pictures and its contact sheet: each page cut from the screen to the window's
client area with a red frame around every control whose text does not fit (and, with --outline,
every text's control outlined and numbered by its interface text), and index.html with the
languages as rows and the pages as columns (click for full size), then the list."""

import html
import os
import subprocess

import report
from session import CONVERT

FRAME_COLOUR = "#E00000"
FRAME_WIDTH = 2
THUMBNAIL_WIDTH = 240
# The outlines: labels, buttons, lists and texts that are no interface text.
OUTLINE_COLOURS = {"label": "#d6006f", "button": "#0a58c2", "list": "#1d8a3c", "fixed": "#6b6b6b"}
OUTLINE_FONT = "DejaVu-Sans-Bold"
LIST_TAGS = {report.INSTALL_LIST: "installs: strId texts", report.MANUAL_LIST: "manuals: strId texts"}
LEGEND = "numbers: text slots of labels (magenta) and buttons (blue)"


def frame_commands(boxes):
    """ImageMagick drawing arguments for a frame just inside each box (x, y, width, height)."""
    arguments = []
    for x, y, width, height in boxes:
        inset = FRAME_WIDTH // 2
        right = x + max(width - 1 - inset, inset)
        bottom = y + max(height - 1 - inset, inset)
        arguments += ["-draw", f"rectangle {x + inset},{y + inset} {right},{bottom}"]
    return (["-fill", "none", "-stroke", FRAME_COLOUR, "-strokewidth", str(FRAME_WIDTH)] + arguments
            if arguments else [])


def outlines(page, measured, lists):
    """What --outline marks on a page: (box, tag, colour) for every list, then every label and
    button that shows a text (tagged by its slot, or by its text when it is no interface text);
    and the caption under the picture."""
    marks = [(box, LIST_TAGS.get(list_id, f"list {list_id}"), OUTLINE_COLOURS["list"])
             for list_id, box in sorted(lists.items())]
    for m in measured:
        if m.kind == "cell":
            continue
        if m.slot is not None:
            marks.append((m.box, str(m.slot), OUTLINE_COLOURS[m.kind]))
        else:
            marks.append((m.box, m.text, OUTLINE_COLOURS["fixed"]))
    return marks, f"{report.PAGE_TITLES[page][:1].upper()}{report.PAGE_TITLES[page][1:]}; {LEGEND}"


def _inside(x, y, boxes, own):
    return any(box is not own and box[0] <= x < box[0] + box[2] and box[1] <= y < box[1] + box[3]
               for box in boxes)


def outline_commands(marks, caption):
    """ImageMagick arguments that draw a line around each mark's box, just outside it, with a tag:
    left of a control, or right of it where another box is there; above the right end of a list.
    Then the caption bar."""
    arguments = []
    boxes = [box for box, unused, unused in marks]
    for box, tag, colour in marks:
        x, y, width, height = box
        tag_width = 7 * len(tag) + 6
        tag_x, tag_y = x - tag_width - 1, y
        if len(tag) > 3:
            tag_x, tag_y = x + width - tag_width, y - 16
        elif tag_x < 0 or _inside(tag_x + 1, tag_y + 1, boxes, box):
            tag_x = x + width + 1
        arguments += ["-fill", "none", "-stroke", colour, "-strokewidth", "2",
                      "-draw", f"rectangle {x - 1},{y - 1} {x + width},{y + height}",
                      "-stroke", "none", "-fill", colour,
                      "-draw", f"rectangle {tag_x},{tag_y} {tag_x + tag_width - 1},{tag_y + 14}",
                      "-fill", "white", "-font", OUTLINE_FONT, "-pointsize", "11",
                      "-annotate", f"+{tag_x + 3}+{tag_y + 11}", tag]
    return arguments + ["-background", "#202020", "-gravity", "south", "-splice", "0x22", "-gravity", "southwest",
                        "-fill", "white", "-stroke", "none", "-font", OUTLINE_FONT, "-pointsize", "12",
                        "-annotate", "+8+5", caption]


def render_page(screenshot, window, boxes, png, outlined=None):
    """Cuts the window's client area (x, y, width, height on the screen) out of an xwd screenshot
    and frames the boxes (client coordinates); `outlined` is what outlines() gives, or nothing."""
    x, y, width, height = window
    os.makedirs(os.path.dirname(png), exist_ok=True)
    command = [CONVERT, f"xwd:{screenshot}", "-crop", f"{width}x{height}+{x}+{y}", "+repage"] + frame_commands(boxes)
    if outlined:
        command += outline_commands(*outlined)
    subprocess.run(command + ["-strip", f"png:{png}"], check=True, timeout=60)


def _control_name(overflow):
    m = overflow.measured
    if m.row >= 0:
        item = overflow.item[1] if overflow.item and overflow.item[1] else f"row {m.row}"
        return f"{m.id} {item}" + (f" (column {m.column})" if m.column else "")
    return f"{m.id}" + (f" slot {m.slot}" if m.slot is not None else "")


def _size(width, height, lines):
    return f"{width}&nbsp;x&nbsp;{height}" + (f", {lines}&nbsp;line{'s' if lines != 1 else ''}" if lines else "")


STYLE = """
body { font-family: sans-serif; margin: 1.5em; color: #222; }
table { border-collapse: collapse; }
.sheet th, .sheet td { border: 1px solid #ccc; padding: 4px; vertical-align: top; }
.sheet td img { display: block; border: 2px solid transparent; }
.sheet td.overflow img { border-color: #e00000; }
.sheet td ul { margin: 4px 0 0 0; padding-left: 1.2em; font-size: 80%; color: #a00; max-width: 240px; }
.sheet td.missing { color: #888; font-size: 85%; }
.sheet th.language { text-align: left; white-space: nowrap; }
.count { color: #a00; font-weight: normal; font-size: 85%; }
.list th, .list td { border-bottom: 1px solid #ddd; padding: 3px 8px; text-align: left; vertical-align: top; }
.problems { color: #a00; }
"""


def write_sheet(out, medium, seconds, results, overflows, problems, scale=100):
    """index.html in `out`; results: LanguageResult per language, in row order."""
    by_page = {}
    for overflow in overflows:
        for page in overflow.pages:
            by_page.setdefault((overflow.run.code, page), []).append(overflow)
    count = {}
    for overflow in overflows:
        count[overflow.run.code] = count.get(overflow.run.code, 0) + 1

    rows = []
    for result in results:
        run = result.run
        found = count.get(run.code, 0)
        cells = [f'<th class="language">{html.escape(run.code)}<br><small>{html.escape(run.locale)}'
                 f'{" (forced)" if run.forced else ""}</small><br>'
                 f'<span class="count">{found} do{"es" if found == 1 else ""} not fit</span></th>'
                 if found else
                 f'<th class="language">{html.escape(run.code)}<br><small>{html.escape(run.locale)}'
                 f'{" (forced)" if run.forced else ""}</small></th>']
        for page in report.PAGES:
            shot = result.pages.get(page)
            if shot is None:
                cells.append('<td class="missing">not shown</td>')
                continue
            here = by_page.get((run.code, page), [])
            image = html.escape(shot.image)
            title = html.escape(f"{run.code}: {report.PAGE_TITLES[page]}")
            cell = (f'<a href="{image}"><img src="{image}" width="{THUMBNAIL_WIDTH}" loading="lazy" '
                    f'alt="{title}" title="{title}"></a>')
            if here:
                cell += "<ul>" + "".join(f"<li>{html.escape(_control_name(o))}: {html.escape(o.measured.text)}</li>"
                                         for o in here) + "</ul>"
            cells.append(f'<td class="overflow">{cell}</td>' if here else f"<td>{cell}</td>")
        rows.append("<tr>" + "".join(cells) + "</tr>")

    listing = []
    for overflow in overflows:
        m = overflow.measured
        labels = m.kind == "label"
        first = html.escape(f"{overflow.run.code}/{overflow.pages[0]}.png")
        listing.append(
            "<tr>"
            f"<td>{html.escape(overflow.run.code)} ({html.escape(overflow.run.locale)})</td>"
            f'<td><a href="{first}">{html.escape(", ".join(overflow.pages))}</a></td>'
            f"<td>{html.escape(_control_name(overflow))}</td>"
            f"<td>{html.escape(m.kind)}</td>"
            f"<td>{html.escape(m.text)}</td>"
            + (f'<td colspan="2">runs into {overflow.other.id}: {html.escape(overflow.other.text)}</td>'
               if overflow.problem == report.COLLISION else
               f"<td>{_size(m.needed_width, m.needed_height, m.needed_lines if labels else 0)}</td>"
               f"<td>{_size(m.available_width, m.available_height, m.shown_lines if labels else 0)}</td>")
            + "</tr>")

    total = len(overflows)
    summary = (f"{len(results)} language{'s' if len(results) != 1 else ''} at {scale} % display scale, "
               f"{total} text{'s' if total != 1 else ''} that do{'es' if total == 1 else ''} not fit, "
               f"previewed in {seconds:.0f} s.")
    head = "".join(f"<th>{html.escape(report.PAGE_TITLES[page])}</th>" for page in report.PAGES)
    parts = [
        '<!DOCTYPE html>\n<html lang="en">\n<head>\n<meta charset="utf-8">',
        f"<title>Setup preview: {html.escape(medium)}</title>\n<style>{STYLE}</style>\n</head>\n<body>",
        "<h1>Setup preview</h1>",
        f"<p>Medium <code>{html.escape(medium)}</code>: {html.escape(summary)} Red frames mark the controls whose "
        "text does not fit; click a picture for its full size.</p>",
        f'<table class="sheet">\n<thead><tr><th>language</th>{head}</tr></thead>\n<tbody>\n'
        + "\n".join(rows) + "\n</tbody>\n</table>",
    ]
    if listing:
        parts += ["<h2>Texts that do not fit</h2>",
                  '<table class="list">\n<tr><th>language</th><th>pages</th><th>control</th><th>kind</th>'
                  "<th>text</th><th>needs</th><th>has</th></tr>\n" + "\n".join(listing) + "\n</table>"]
    if problems:
        parts += ["<h2>Notes</h2>", '<ul class="problems">' + "".join(
            f"<li>{html.escape(code)}: {html.escape(text)}</li>" for code, text in problems) + "</ul>"]
    parts.append("</body>\n</html>\n")
    path = os.path.join(out, "index.html")
    with open(path, "w", encoding="utf-8") as file:
        file.write("\n".join(parts))
    return path
