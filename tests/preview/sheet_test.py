#!/usr/bin/python3
"""The preview's pictures and contact sheet: the red frames drawn, and index.html with a row per
language, a column per page, the marks and the list."""

import html.parser
import os
import subprocess
import sys
import tempfile
import unittest

sys.dont_write_bytecode = True
sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..", "tools", "preview"))
import plan  # noqa: E402
import report  # noqa: E402
import sheet  # noqa: E402
from walk import LanguageResult, PageShot  # noqa: E402

CONVERT = "/usr/bin/convert"


class FrameCommands(unittest.TestCase):
    def test_a_frame_just_inside_each_box(self):
        cases = [
            ([], []),
            ([(486, 512, 136, 40)], ["-draw", "rectangle 487,513 620,550"]),
            ([(0, 0, 1, 1), (10, 20, 30, 40)], ["-draw", "rectangle 1,1 1,1", "-draw", "rectangle 11,21 38,58"]),
        ]
        for boxes, draws in cases:
            with self.subTest(boxes=boxes):
                commands = sheet.frame_commands(boxes)
                self.assertEqual([part for part in commands if part == "-draw" or part.startswith("rectangle")], draws)
                if boxes:
                    self.assertEqual(commands[:6],
                                     ["-fill", "none", "-stroke", sheet.FRAME_COLOUR, "-strokewidth", "2"])


class Outlines(unittest.TestCase):
    def test_each_text_and_list_tagged_beside_its_box(self):
        def measured(control, kind, slot, box, text="x"):
            return report.Measured("menu", id=control, row=-1 if kind != "cell" else 0, column=0, kind=kind,
                                   slot=slot, x=box[0], y=box[1], width=box[2], height=box[3], needed_width=0,
                                   needed_height=0, available_width=0, available_height=0, needed_lines=1,
                                   shown_lines=1, fits=True, ink_x=0, ink_y=0, ink_width=0, ink_height=0, text=text)
        page = [measured(1005, "label", 0, (341, 20, 400, 40)), measured(1000, "button", 2, (5, 20, 300, 70)),
                measured(1057, "label", None, (300, 350, 60, 40), "7"), measured(1061, "cell", 19, (0, 0, 9, 9))]
        marks, caption = sheet.outlines("menu", page, {1061: (267, 104, 500, 340)})
        self.assertEqual([(tag, colour) for unused, tag, colour in marks],
                         [("installs: strId texts", "#1d8a3c"), ("0", "#d6006f"), ("2", "#0a58c2"), ("7", "#6b6b6b")])
        self.assertEqual(caption, "Menu; " + sheet.LEGEND)
        tags = [part for part in sheet.outline_commands(marks, caption) if part.startswith("+")]
        # The list's tag above its right end; left of the title; right of the button at the
        # window's edge and of the seconds, whose left lies in the list; the caption in the bar.
        self.assertEqual(tags, ["+617+99", "+330+31", "+309+31", "+364+361", "+8+5"])


@unittest.skipUnless(os.path.exists(CONVERT), "ImageMagick's convert is not installed")
class RenderPage(unittest.TestCase):
    def test_cut_to_the_window_and_framed(self):
        with tempfile.TemporaryDirectory() as folder:
            screen = os.path.join(folder, "screen.xwd")
            # A grey screen with the window's client area white at (100, 50).
            subprocess.run([CONVERT, "-size", "400x300", "xc:#808080", "-fill", "white", "-draw",
                            "rectangle 100,50 299,199", f"xwd:{screen}"], check=True)
            png = os.path.join(folder, "de-de", "menu.png")
            sheet.render_page(screen, (100, 50, 200, 150), [(20, 30, 60, 40)], png)
            size = subprocess.run([CONVERT, png, "-format", "%w %h", "info:"], stdout=subprocess.PIPE, check=True)
            self.assertEqual(size.stdout.decode(), "200 150")

            def pixel(x, y):
                out = subprocess.run([CONVERT, png, "-format", f"%[hex:u.p{{{x},{y}}}]", "info:"],
                                     stdout=subprocess.PIPE, check=True)
                return out.stdout.decode()[:6].upper()
            self.assertEqual(pixel(0, 0), "FFFFFF")  # the client area, no grey screen around it
            self.assertEqual(pixel(21, 50), "E00000")  # the frame's left edge
            self.assertEqual(pixel(50, 31), "E00000")  # its top edge
            self.assertEqual(pixel(50, 50), "FFFFFF")  # inside it, nothing


class Cells(html.parser.HTMLParser):
    """The sheet's table cells: [(tag, class, text, images)] per row."""

    def __init__(self):
        super().__init__()
        self.rows, self.row, self.cell, self.table = [], None, None, None

    def handle_starttag(self, tag, attributes):
        attributes = dict(attributes)
        if tag == "table":
            self.table = attributes.get("class")
        elif tag == "tr" and self.table == "sheet":
            self.row = []
        elif tag in ("td", "th") and self.row is not None:
            self.cell = [tag, attributes.get("class"), "", []]
        elif tag == "img" and self.cell is not None:
            self.cell[3].append(attributes["src"])

    def handle_endtag(self, tag):
        if tag in ("td", "th") and self.cell is not None:
            self.row.append(tuple(self.cell))
            self.cell = None
        elif tag == "tr" and self.row is not None:
            self.rows.append(self.row)
            self.row = None
        elif tag == "table":
            self.table = None

    def handle_data(self, data):
        if self.cell is not None:
            self.cell[2] += data


class WriteSheet(unittest.TestCase):
    def test_languages_as_rows_pages_as_columns(self):
        german = LanguageResult(plan.LanguageRun("de-de", "Language/de-de.ini", "de_DE"))
        chinese = LanguageResult(plan.LanguageRun("zh-cn", "Language/zh-cn.ini", "zh_CN", forced=True))
        for result in (german, chinese):
            for page in report.PAGES:
                if (result is chinese) and page == "progress":
                    continue  # a walk that did not get there
                german_measure = [] if result is chinese else report.parse_measure(
                    "text\t1016\t-1\t-1\tbutton\t17\t486\t512\t136\t40\t207\t23\t136\t40\t1\t1\t0\t486\t520\t136\t23\t"
                    "<Installieren & los>", page)[1]
                result.pages[page] = PageShot(page, f"{result.run.code}/{page}.png", (0, 0, 800, 570),
                                              german_measure if page in ("default", "custom") else [])
        overflows = report.gather(german.run, german.measured(), {}, {})
        with tempfile.TemporaryDirectory() as out:
            path = sheet.write_sheet(out, "build/medium", 81.6, [german, chinese], overflows,
                                     [("zh-cn", "no installer held the progress page")])
            with open(path, encoding="utf-8") as file:
                text = file.read()
        parser = Cells()
        parser.feed(text)
        head, german_row, chinese_row = parser.rows
        self.assertEqual([cell[2] for cell in head], ["language"] + [report.PAGE_TITLES[p] for p in report.PAGES])
        self.assertIn("1 does not fit", german_row[0][2])
        self.assertIn("zh_CN (forced)", chinese_row[0][2])
        self.assertEqual([cell[3] for cell in german_row[1:]], [[f"de-de/{page}.png"] for page in report.PAGES])
        marked = [report.PAGES[i] for i, cell in enumerate(german_row[1:]) if cell[1] == "overflow"]
        self.assertEqual(marked, ["default", "custom"])
        self.assertIn("1016 slot 17: <Installieren & los>", german_row[2][2])
        self.assertEqual(chinese_row[1 + report.PAGES.index("progress")][1:3], ("missing", "not shown"))
        self.assertIn("&lt;Installieren &amp; los&gt;", text)  # texts are escaped
        self.assertIn("2 languages at 100 % display scale, 1 text that does not fit, previewed in 82 s.", text)
        self.assertIn("zh-cn: no installer held the progress page", text)


if __name__ == "__main__":
    unittest.main()
