#!/usr/bin/python3
"""The preview's list: the measuring program's records read back, named, gathered across pages
once each, texts that run into each other found, and the JSON report's shape."""

import os
import sys
import tempfile
import unittest

sys.dont_write_bytecode = True
sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..", "tools", "preview"))
import plan  # noqa: E402
import report  # noqa: E402

RUN = plan.LanguageRun("de-de", "Language/de-de.ini", "de_DE")


def record(id, text, kind="label", row=-1, column=-1, slot=-1, box=(0, 0, 100, 20), needed=(50, 15), fits=True,
           lines=(1, 1), ink=None):
    """One line of preview_measure's output."""
    ink = ink or (box[0], box[1], min(needed[0], box[2]), 15)
    fields = ["text", id, row, column, kind, slot, *box, *needed, box[2], box[3], *lines, int(fits), *ink, text]
    return "\t".join(str(field) for field in fields)


def measured(page, *lines):
    window, texts = report.parse_measure("window\t0\t0\t800\t570\r\n" + "\r\n".join(lines) + "\r\n", page)
    return texts


class ParseMeasure(unittest.TestCase):
    def test_records_and_escapes(self):
        output = ("window\t112\t99\t800\t570\r\n"
                  + record(1016, "Jetzt\\talles\\\\installieren\\n", kind="button", slot=17, box=(486, 512, 136, 40),
                           needed=(207, 23), fits=False) + "\r\n"
                  + record(1061, "Fehler", kind="cell", row=1, column=1) + "\r\n"
                  + "list\t1061\t267\t104\t500\t340\r\n"
                  + "text\ttoo\tfew\r\n")
        window, texts = report.parse_measure(output, "default")
        self.assertEqual(window, (112, 99, 800, 570))
        self.assertEqual(len(texts), 2)
        button, cell = texts
        self.assertEqual((button.page, button.id, button.kind, button.slot, button.fits), ("default", 1016, "button",
                                                                                           17, False))
        self.assertEqual(button.text, "Jetzt\talles\\installieren\n")
        self.assertEqual((button.needed_width, button.available_width, button.box), (207, 136, (486, 512, 136, 40)))
        self.assertEqual((cell.row, cell.column, cell.slot), (1, 1, None))
        self.assertEqual(report.parse_lists(output), {1061: (267, 104, 500, 340)})
        self.assertEqual(report.facts_window("# facts\nwindow\t0\t0\t1200\t855\nid\tx\n"), (1200, 855))

    def test_no_window(self):
        self.assertEqual(report.parse_measure("", "menu"), (None, []))

    def test_unescape(self):
        cases = [("a\\tb", "a\tb"), ("a\\\\tb", "a\\tb"), ("end\\", "end\\"), ("\\x", "\\x"), ("\\r\\n", "\r\n")]
        for escaped, text in cases:
            with self.subTest(escaped=escaped):
                self.assertEqual(report.unescape(escaped), text)


class Gather(unittest.TestCase):
    ITEMS = {"installs": ["ITEM_A", "ITEM_B"], "manuals": ["DOC"]}
    RESULTS = {"Fertig": 36, "Installation fehlgeschlagen": 37}

    def test_each_text_once_with_all_its_pages_in_page_order(self):
        back = dict(kind="button", slot=16, box=(267, 512, 136, 40), needed=(150, 23), fits=False)
        pages = {
            "manuals": measured("manuals", record(1015, "Zurück zum Menü", **back)),
            "default": measured("default", record(1015, "Zurück zum Menü", **back),
                                record(1027, "passt", slot=10)),
            "custom": measured("custom", record(1015, "Zurück zum Menü", **back)),
        }
        found = report.gather(RUN, pages, self.ITEMS, self.RESULTS)
        self.assertEqual(len(found), 1)
        self.assertEqual((found[0].measured.id, found[0].pages, found[0].problem),
                         (1015, ["default", "custom", "manuals"], report.OVERFLOW))

    def test_rows_and_status_cells_are_named(self):
        pages = {"finish": measured(
            "finish",
            record(1061, "A very long installer name", kind="cell", row=1, column=0, fits=False),
            record(1061, "Installation fehlgeschlagen", kind="cell", row=1, column=1, fits=False),
            record(1061, "Fertig", kind="cell", row=0, column=1),
            record(1044, "Manual", kind="cell", row=0, column=0, fits=False),
            record(1044, "Row without item", kind="cell", row=5, column=0, fits=False),
        )}
        found = report.gather(RUN, pages, self.ITEMS, self.RESULTS)
        self.assertEqual([(o.measured.id, o.measured.row, o.measured.column, o.item, o.slot) for o in found], [
            (1061, 1, 0, ("installs", "ITEM_B"), None),
            (1061, 1, 1, None, 37),
            (1044, 0, 0, ("manuals", "DOC"), None),
            (1044, 5, 0, ("manuals", None), None),
        ])

    def test_the_running_row_keeps_its_slot(self):
        pages = {"progress": measured("progress", record(1061, "In Arbeit.....", kind="cell", row=0, column=1,
                                                         slot=19, fits=False))}
        self.assertEqual(report.gather(RUN, pages, self.ITEMS, self.RESULTS)[0].slot, 19)

    def test_texts_that_run_into_each_other(self):
        # 1007 takes two lines; its second meets 1011's line 16 px below its top.
        info = record(1007, "two lines", box=(341, 208, 450, 40), needed=(440, 30), lines=(2, 2),
                      ink=(346, 208, 440, 30))
        info2 = record(1011, "one line", box=(341, 224, 400, 40), ink=(341, 224, 300, 15))
        apart = record(1008, "far below", box=(341, 318, 400, 40), ink=(341, 318, 300, 15))
        pages = {"menu": measured("menu", info, info2, apart)}
        found = report.gather(RUN, pages, self.ITEMS, self.RESULTS)
        self.assertEqual([(o.measured.id, o.problem, o.other.id) for o in found], [(1007, report.COLLISION, 1011)])
        boxes = report.marked_boxes(pages["menu"])
        self.assertEqual(boxes, [(346, 208, 440, 30), (341, 224, 300, 15)])


class Overlap(unittest.TestCase):
    def test_shared_pixels(self):
        cases = [
            ((0, 0, 10, 10), (5, 5, 10, 10), True),
            ((0, 0, 10, 10), (10, 0, 10, 10), False),  # touching edges share none
            ((0, 0, 10, 10), (0, 10, 10, 10), False),
            ((267, 350, 14, 24), (300, 350, 22, 46), False),  # "In" before the seconds
            ((267, 350, 40, 24), (300, 350, 22, 46), True),  # "Nach" runs into them
            ((0, 0, 0, 10), (0, 0, 10, 10), False),  # an empty text
        ]
        for a, b, expected in cases:
            with self.subTest(a=a, b=b):
                self.assertEqual(report.overlap(a, b), expected)
                self.assertEqual(report.overlap(b, a), expected)


class ResultTexts(unittest.TestCase):
    def test_the_two_result_texts_as_the_launcher_reads_them(self):
        with tempfile.TemporaryDirectory() as medium:
            os.makedirs(os.path.join(medium, "Language"))
            entries = "".join(f'<t a="0" b="0">K{k}</t>' for k in range(37))
            with open(os.path.join(medium, "Language", "UICfg.xml"), "w") as file:
                file.write(f"<ui>{entries}</ui>")
            with open(os.path.join(medium, "Language", "de-de.ini"), "w", encoding="utf-8") as file:
                file.write("[OTHER]\nK35 = elsewhere\n[root]\nk35 = \"Fertig\"\nK35 = second\n; K36 = comment\n"
                           "K36 =   Fehler  \nK34 = Frage\n")
            self.assertEqual(report.result_texts(medium, "Language/de-de.ini"), {"Fertig": 36, "Fehler": 37})
            self.assertEqual(report.result_texts(medium, "Language/missing.ini"), {})


class JsonReport(unittest.TestCase):
    def test_shape(self):
        pages = {"default": measured("default", record(1016, "Jetzt alles installieren", kind="button", slot=17,
                                                       box=(486, 512, 136, 40), needed=(207, 23), fits=False))}
        found = report.gather(RUN, pages, {}, {})
        document = report.json_report("medium", "out/index.html", 12.34, [(RUN, ["menu", "default"], 2)], found,
                                      [("de-de", "a note")], 1, {("de-de", "default"): "de-de/default.png"})
        self.assertEqual((document["tool"], document["schema"]), ("setup-preview", 1))
        self.assertEqual(document["summary"], {"languages": 1, "overflows": 1, "problems": 1, "exitStatus": 1})
        self.assertEqual(document["seconds"], 12.3)
        self.assertEqual(document["languages"], [{"file": "Language/de-de.ini", "code": "de-de", "locale": "de_DE",
                                                  "forced": False, "pages": ["menu", "default"], "installersRun": 2}])
        self.assertEqual(document["overflows"], [{
            "file": "Language/de-de.ini", "code": "de-de", "locale": "de_DE", "page": "default", "pages": ["default"],
            "problem": "overflow", "control": 1016, "kind": "button", "row": None, "column": None, "slot": 17,
            "item": None, "text": "Jetzt alles installieren", "needed": {"width": 207, "height": 23, "lines": 1},
            "available": {"width": 136, "height": 40, "lines": 1}, "with": None, "image": "de-de/default.png"}])
        self.assertEqual(document["problems"], [{"code": "de-de", "message": "a note"}])

    def test_text_lines(self):
        pages = {"default": measured("default", record(1016, "Jetzt alles installieren", kind="button", slot=17,
                                                       box=(486, 512, 136, 40), needed=(207, 23), fits=False))}
        text = report.text_report(report.gather(RUN, pages, {}, {}), [("de-de", "a note")])
        self.assertEqual(text, "de-de (de_DE)  default  control 1016  slot 17  button needs 207 x 23 px, has "
                               "136 x 40 px: Jetzt alles installieren\nde-de: a note\n")
        self.assertEqual(report.text_report([], []), "")


if __name__ == "__main__":
    unittest.main()
