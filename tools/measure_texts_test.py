#!/usr/bin/python3
"""Tests of measure_texts.py: a copy of the sample medium with one text or file spoiled at a
time must be reported, the clean sample must not."""

import os
import shutil
import subprocess
import sys
import tempfile
import unittest

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import measure_texts  # noqa: E402

SAMPLE = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "samples", "medium")
METRICS = measure_texts.Metrics()


class SpoiledMedium:
    """A copy of the sample's conf.xml and language files, changed by the test."""

    def __enter__(self):
        self.folder = tempfile.mkdtemp(prefix="measure_texts_")
        shutil.copytree(os.path.join(SAMPLE, "Language"), os.path.join(self.folder, "Language"))
        shutil.copy(os.path.join(SAMPLE, "conf.xml"), self.folder)
        return self

    def __exit__(self, *unused):
        shutil.rmtree(self.folder)

    def path(self, code):
        return os.path.join(self.folder, "Language", code + ".ini")

    def set_value(self, code, key, value):
        with open(self.path(code), encoding="utf-8") as file:
            lines = file.read().split("\n")
        lines = [f"{key} = {value}" if line.split("=")[0].strip() == key else line for line in lines]
        with open(self.path(code), "w", encoding="utf-8") as file:
            file.write("\n".join(lines))

    def check(self, code):
        slot_keys, items = measure_texts.read_medium(self.folder)
        findings, problems = measure_texts.check_language(self.folder, code, slot_keys, items, METRICS)
        return [f"{f.key}: {f.control.name}: {f.problem}" for f in findings if f.problem], problems


class TextsThatDoNotFit(unittest.TestCase):
    def test_each_spoiled_text_is_reported_with_its_control(self):
        cases = [
            ("de-de", "INSTALL", "Installation starten", ["page button"]),
            ("de-de", "SELECT_NONE", "Auswahl aufheben (alle)", ["select button"]),
            ("fr-fr", "CUSTOM_INSTALL", "Installation personnalisée avancée", ["menu button", "page heading"]),
            ("en-us", "MANUALS", "Manuals and other documentation", ["menu button", "page heading"]),
            ("en-us", "STANDARD_INFO", "Recommended for most users: everything that a Lumetra device needs to work.",
             ["default installation info"]),
            ("en-us", "PROGRESS_TITLE", "Installing now", ["status column"]),
            ("en-us", "RESTART_LEAD", "After", ["restart lead"]),
            ("ru-ru", "RESULT_FAILED", "Ошибка установки", ["status column"]),
            ("ja-jp", "INSTALL", "インストール", ["page button"]),
            ("zh-cn", "ITEM_CLOUD", "Lumetra Cloud Sync（不在此介质上，请从 lumetra.example 下载）", ["installer row"]),
            ("en-us", "INSTALL_PAGE_NOTE", "Click Install to begin. " * 9, ["page text (two lines)"]),
            ("en-us", "TITLE", "Lumetra Scope 4 Professional Edition", ["title"]),
        ]
        for code, key, value, controls in cases:
            with self.subTest(code=code, key=key), SpoiledMedium() as medium:
                medium.set_value(code, key, value.strip())
                unfit, problems = medium.check(code)
                self.assertEqual([line.split(": ")[:2] for line in unfit], [[key, control] for control in controls])
                self.assertEqual(problems, [])

    def test_the_sample_fits_in_every_language(self):
        with SpoiledMedium() as medium:
            for code in measure_texts.LANGUAGE_CODES:
                self.assertEqual(medium.check(code), ([], []), code)


class FaultyLanguageFiles(unittest.TestCase):
    def test_each_fault_is_named(self):
        def prepend_bom(path):
            data = open(path, "rb").read()
            open(path, "wb").write(b"\xef\xbb\xbf" + data)

        def append(text):
            return lambda path: open(path, "a", encoding="utf-8").write(text)

        def drop_key(key):
            def change(path):
                lines = open(path, encoding="utf-8").read().split("\n")
                open(path, "w", encoding="utf-8").write("\n".join(l for l in lines if not l.startswith(key + " ")))
            return change

        cases = [
            ("byte-order mark", prepend_bom, "starts with a byte-order mark"),
            ("duplicate key", append("\nexit = Verlassen\n"), "exit is defined again"),
            ("missing interface key", drop_key("CANCEL"), "CANCEL is missing"),
            ("missing item key", drop_key("DOC_README"), "DOC_README is missing"),
            ("over-long value", append("\nABOUT_SUPPORT_LONG = " + "ä" * 128 + "\n"), "has 256 bytes, more than 254"),
            ("not UTF-8", lambda path: open(path, "ab").write(b"\nX = \xff\xfe\n"), "not UTF-8"),
            ("no file", os.remove, "missing"),
            ("no ROOT section", lambda path: open(path, "w", encoding="utf-8").write("[TEXTS]\nEXIT = Beenden\n"),
             "has no [ROOT] section"),
        ]
        for label, spoil, expected in cases:
            with self.subTest(label), SpoiledMedium() as medium:
                spoil(medium.path("de-de"))
                unused, problems = medium.check("de-de")
                self.assertTrue(any(expected in problem for problem in problems), problems)

    def test_a_long_exit_question_is_named(self):
        with SpoiledMedium() as medium:
            medium.set_value("en-us", "EXIT_QUESTION", "x" * 200)
            medium.set_value("en-us", "EXIT_QUESTION_NOTE", "y" * 52)
            self.assertEqual(medium.check("en-us")[1], ["the exit question has 254 UTF-16 units, more than 253"])


class ExitStatus(unittest.TestCase):
    def test_clean_spoiled_and_unreadable_media(self):
        script = os.path.join(os.path.dirname(os.path.abspath(__file__)), "measure_texts.py")

        def run(folder):
            return subprocess.run([sys.executable, script, folder], capture_output=True, check=False).returncode

        with SpoiledMedium() as medium:
            self.assertEqual(run(medium.folder), 0)
            medium.set_value("pl-pl", "CANCEL", "Anuluj instalację")
            self.assertEqual(run(medium.folder), 1)
            os.remove(os.path.join(medium.folder, "Language", "UICfg.xml"))
            self.assertEqual(run(medium.folder), 2)
            self.assertEqual(run(os.path.join(medium.folder, "nothing")), 2)


class Measuring(unittest.TestCase):
    def test_widths_follow_gdi(self):
        cases = [
            # text, font, width in pixels (hinted GDI widths of Arial's metric twin)
            ("Installieren", measure_texts.F16, 105),
            ("Abbrechen", measure_texts.F16, 104),
            ("Zaznacz wszystkie", measure_texts.F10, 113),
            ("Lumetra Scope 4", measure_texts.TITLE, 221),
            ("安装", measure_texts.F16, 42),           # ideographs are one em wide
            ("설치 중", measure_texts.F10, 13 * 3 + 4),  # Hangul too, and a space of Arial
        ]
        for text, font, width in cases:
            with self.subTest(text):
                self.assertEqual(METRICS.width(text, font), width)

    def test_ampersands_are_drawn_as_the_platform_draws_them(self):
        cases = [("&Install", "Install"), ("Tools && drivers", "Tools & drivers"), ("End&", "End"), ("", "")]
        for text, drawn in cases:
            with self.subTest(text):
                self.assertEqual(measure_texts.drawn_text(text), drawn)

    def test_lines_break_at_spaces_and_between_cjk_characters(self):
        cases = [
            ("one two", [("one", False), ("two", True)]),
            ("请稍候。每个", [("请", False), ("稍", False), ("候。", False), ("每", False), ("个", False)]),
            ("（必需）", [("（必", False), ("需）", False)]),
            ("USB 驱动", [("USB", False), ("驱", True), ("动", False)]),
        ]
        for text, units in cases:
            with self.subTest(text):
                self.assertEqual(measure_texts.break_units(text), units)

    def test_entries_fill_slots_skipping_35(self):
        self.assertEqual([measure_texts.slot_of_entry(i) for i in (0, 34, 35, 36, 37)], [0, 34, 36, 37, None])


if __name__ == "__main__":
    unittest.main()
