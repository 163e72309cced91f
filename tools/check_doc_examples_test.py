#!/usr/bin/python3
"""Tests of check_doc_examples.py with the real setup-check: an example that holds passes, one
whose text or expectation is changed fails, and a document that cannot be checked is refused.

    SETUP_CHECK=build/native/setup-check tools/check_doc_examples_test.py
"""

import os
import subprocess
import sys
import tempfile
import unittest

TOOLS = os.path.dirname(os.path.abspath(__file__))
SCRIPT = os.path.join(TOOLS, "check_doc_examples.py")
REFERENCE = os.path.join(TOOLS, "..", "docs", "medium.md")
CHECKER = os.environ.get("SETUP_CHECK", os.path.join(TOOLS, "..", "build", "native", "setup-check"))

FENCE = "```"


def conf(installs, manuals='<item strId="DOC_README" open="Manuals/ReadMe.txt" icon="5"/>', root="<setup>"):
    return (f'{root}\n  <ui showIcon="1"/>\n  <installs showIcon="1">\n    {installs}\n  </installs>\n'
            f'  <manuals showIcon="1">\n    {manuals}\n  </manuals>\n</setup>\n')


SCOPE = '<item strId="ITEM_SCOPE" open="Setup/Scope/setup.exe" default="1" icon="1"/>'
EXTRA = '<item strId="ITEM_SCOPE" open="Extra/tool.exe" default="1" icon="1"/>'
PRINTER = '<item strId="ITEM_DRIVER" open="Setup/Printer/{language}/setup.exe" default="1" icon="3"/>'
PRINTER_BOX = ("Configuration item:\nSetup\\Printer\\{language}\\setup.exe\n\n"
               "No file matching the following rule was found.\nSetup\\Printer\\de_DE\\setup.exe\n"
               "Setup\\Printer\\de*\\setup.exe\nSetup\\Printer\\en*\\setup.exe\n")


def block(info, text):
    return f"{FENCE}{info}\n{text}{FENCE}\n\n"


def run(document):
    with tempfile.NamedTemporaryFile("w", suffix=".md", encoding="utf-8", delete=False) as file:
        file.write(document)
    try:
        result = subprocess.run([sys.executable, SCRIPT, "--checker", CHECKER, file.name], capture_output=True,
                                text=True, check=False)
    finally:
        os.unlink(file.name)
    return result.returncode, result.stdout + result.stderr


class Examples(unittest.TestCase):
    def test_each_document_gets_its_verdict(self):
        cases = [
            ("a clean conf.xml", block("xml conf.xml expect=none", conf(SCOPE)), 0),
            ("an expected finding", block("xml conf.xml expect=conf-debug", conf(SCOPE, root='<setup debug="yes">')), 0),
            ("a finding not expected", block("xml conf.xml expect=none", conf(SCOPE, root='<setup debug="yes">')), 1),
            ("an expected finding that is not there", block("xml conf.xml expect=conf-debug", conf(SCOPE)), 1),
            ("a finding expected once, reported twice",
             block("xml conf.xml expect=launch-no-match", conf(EXTRA + "\n" + EXTRA.replace("SCOPE", "TOOLS"))), 1),
            ("an example changed under its expectation",
             block("xml conf.xml expect=none", conf(SCOPE).replace('showIcon="1"', "showIcon=1", 1)), 1),
            ("a rule to an entry only the example creates",
             block("text files example=e", "Extra/tool.exe\n") + block("xml conf.xml example=e expect=none", conf(EXTRA)),
             0),
            ("the same rule without the entry", block("xml conf.xml expect=none", conf(EXTRA)), 1),
            ("a language file", block("ini Language/it-it.ini expect=lang-never-chosen", "[ROOT]\nTITLE = Prova\n"), 0),
            ("a language file's findings are its own",
             block("ini Language/en-us.ini expect=none", "[ROOT]\nTITLE = A\nTITLE = B\n"), 1),
            ("the box the user sees",
             block("xml conf.xml example=b locale=de_DE expect=launch-no-match", conf(PRINTER)) +
             block("text box example=b", PRINTER_BOX), 0),
            ("a box that reads otherwise",
             block("xml conf.xml example=b locale=de_DE expect=launch-no-match", conf(PRINTER)) +
             block("text box example=b", PRINTER_BOX.replace("de*", "de_*")), 1),
            ("what a rule resolves to",
             block("text resolutions example=r", "# strId locale mode path\n"
                   "ITEM_DRIVER de_AT 2 Setup/Driver/de_DE/setup.exe\nITEM_SCOPE ja_JP - Setup/Scope/setup.exe\n"), 0),
            ("a resolution in another mode",
             block("text resolutions example=r", "ITEM_DRIVER de_AT 1 Setup/Driver/de_DE/setup.exe\n"), 1),
            ("an unmarked xml block", block("xml", conf(SCOPE)), 2),
            ("an example without expect=", block("xml conf.xml", conf(SCOPE)), 2),
            ("an unknown option", block("xml conf.xml expected=none", conf(SCOPE)), 2),
            ("a resolution line of three fields", block("text resolutions", "ITEM_SCOPE ja_JP -\n"), 2),
            ("no example at all", "Some text.\n" + block("sh", "./dev check\n"), 2),
        ]
        for name, document, status in cases:
            with self.subTest(name):
                actual, output = run(document)
                self.assertEqual(actual, status, output)


class TheReference(unittest.TestCase):
    def setUp(self):
        with open(REFERENCE, encoding="utf-8") as file:
            self.text = file.read()

    def test_every_example_holds(self):
        status, output = run(self.text)
        self.assertEqual(status, 0, output)

    def test_a_changed_example_or_expectation_fails(self):
        first_example = self.text.index("```xml conf.xml expect=item-no-open")
        cases = [
            ("an expectation", "expect=item-no-open", "expect=item-no-open,conf-debug"),
            ("an example's rule", 'open="Setup/Scope/setup.exe" default="1" icon="1"/>',
             'open="Setup/Scope/setup64.exe" default="1" icon="1"/>'),
        ]
        for name, old, new in cases:
            with self.subTest(name):
                at = self.text.index(old, first_example)
                status, output = run(self.text[:at] + new + self.text[at + len(old):])
                self.assertEqual(status, 1, output)


if __name__ == "__main__":
    if not os.access(CHECKER, os.X_OK):
        sys.exit(f"no setup-check at {CHECKER}: set SETUP_CHECK")
    unittest.main()
