#!/usr/bin/python3
"""The copy of a medium a preview runs: links to the medium's files, the test build's Setup.exe,
and no program of the vendor's left to run."""

import os
import sys
import tempfile
import unittest

sys.dont_write_bytecode = True
sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..", "tools", "preview"))
import medium_copy  # noqa: E402


class ReplacementOf(unittest.TestCase):
    def test_what_stands_at_each_path(self):
        targets = {"Setup/Tools/tools.bin", "Setup/Main/setup.exe"}
        cases = [
            ("Setup.exe", "setup"),
            ("SETUP.EXE", "setup"),
            ("Setup/Setup.exe", "stand-in"),  # only the one at the top is the launcher
            ("Setup/Main/setup.exe", "stand-in"),
            ("Setup/Other/Install.EXE", "stand-in"),  # no rule leads there now; another one might
            ("Setup/run.com", "stand-in"),
            ("Setup/Tools/tools.bin", "empty"),  # a launch target that is no program
            ("Setup/App/app.msi", "empty"),
            ("Setup/App/install.CMD", "empty"),
            ("Setup/App/data.cab", "link"),
            ("Manuals/guide.pdf", "link"),
            ("Language/de-de.ini", "link"),
            ("conf.xml", "link"),
        ]
        for path, kind in cases:
            with self.subTest(path=path):
                self.assertEqual(medium_copy.replacement_of(path, targets), kind)


class Build(unittest.TestCase):
    def setUp(self):
        self.folder = tempfile.TemporaryDirectory()
        self.root = self.folder.name
        self.medium = os.path.join(self.root, "medium")
        for path, content in {
            "setup.exe": "the vendor's launcher",
            "conf.xml": "<setup/>",
            "Language/en-us.ini": "[ROOT]",
            "Setup/Main/setup.exe": "the vendor's installer",
            "Setup/Main/data.cab": "data",
            "Setup/Msi/product.msi": "a package",
            "Manuals/guide.pdf": "a manual",
        }.items():
            os.makedirs(os.path.dirname(os.path.join(self.medium, path)), exist_ok=True)
            with open(os.path.join(self.medium, path), "w") as file:
                file.write(content)
        os.symlink(os.path.join(self.medium, "Setup"), os.path.join(self.medium, "Setup", "Loop"))
        self.setup_exe = self.write("Setup.exe", "the test build")
        self.stand_in = self.write("stand_in.exe", "the stand-in")
        self.copy = os.path.join(self.root, "work", "medium")

    def tearDown(self):
        self.folder.cleanup()

    def write(self, name, content):
        path = os.path.join(self.root, name)
        with open(path, "w") as file:
            file.write(content)
        return path

    def read(self, relative):
        with open(os.path.join(self.copy, relative)) as file:
            return file.read()

    def test_the_copy(self):
        counts = medium_copy.build(self.medium, self.copy, self.setup_exe, self.stand_in, ["Setup/Msi/product.msi"])
        self.assertEqual(self.read("Setup.exe"), "the test build")
        self.assertFalse(os.path.lexists(os.path.join(self.copy, "setup.exe")))  # one launcher, whatever its case
        self.assertEqual(self.read("Setup/Main/setup.exe"), "the stand-in")
        # Every stand-in is one file, hard-linked: no copying for a medium of many installers.
        copied_stand_in = os.path.join(self.root, "work", "stand-in.exe")
        self.assertTrue(os.path.samefile(os.path.join(self.copy, "Setup/Main/setup.exe"), copied_stand_in))
        self.assertEqual(self.read("Setup/Msi/product.msi"), "")
        for linked in ("conf.xml", "Language/en-us.ini", "Setup/Main/data.cab", "Manuals/guide.pdf"):
            self.assertTrue(os.path.islink(os.path.join(self.copy, linked)), linked)
            self.assertEqual(os.path.realpath(os.path.join(self.copy, linked)),
                             os.path.realpath(os.path.join(self.medium, linked)))
        # The linked folder is walked once, not round and round.
        self.assertEqual(counts, {"setup": 1, "stand-in": 1, "empty": 1, "link": 4})
        # The vendor's files are untouched.
        with open(os.path.join(self.medium, "Setup/Main/setup.exe")) as file:
            self.assertEqual(file.read(), "the vendor's installer")

    def test_made_again_over_an_earlier_copy_but_nothing_else(self):
        medium_copy.build(self.medium, self.copy, self.setup_exe, self.stand_in, [])
        medium_copy.build(self.medium, self.copy, self.setup_exe, self.stand_in, [])
        self.assertEqual(self.read("Setup.exe"), "the test build")
        other = os.path.join(self.root, "other")
        os.makedirs(other)
        with self.assertRaises(FileExistsError):
            medium_copy.build(self.medium, other, self.setup_exe, self.stand_in, [])

    def test_a_medium_without_a_launcher_gets_one(self):
        os.unlink(os.path.join(self.medium, "setup.exe"))
        counts = medium_copy.build(self.medium, self.copy, self.setup_exe, self.stand_in, [])
        self.assertEqual(self.read("Setup.exe"), "the test build")
        self.assertEqual(counts["setup"], 0)


if __name__ == "__main__":
    unittest.main()
