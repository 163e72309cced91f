#!/usr/bin/python3
"""Which language files a preview runs, under which locale, and which files the stand-in takes the
place of, from setup-check's report."""

import os
import sys
import tempfile
import unittest

sys.dont_write_bytecode = True
sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..", "tools", "preview"))
import plan  # noqa: E402

# languageFiles as setup-check reports them for a medium like the sample.
SAMPLE_FILES = [
    {"file": "Language/de-de.ini", "code": "de-de", "exists": True, "forced": False,
     "locales": ["de_DE", "de_CH", "de_AT"]},
    {"file": "Language/en-us.ini", "code": "en-us", "exists": True, "forced": False,
     "locales": ["en_US", "en_GB", "it_IT", "es_ES"]},
    {"file": "Language/ko-ko.ini", "code": "ko-ko", "exists": True, "forced": False, "locales": ["ko_KR"]},
    {"file": "Language/pt-pt.ini", "code": "pt-pt", "exists": True, "forced": False, "locales": ["pt_BR", "pt_PT"]},
    {"file": "Language/zh-tw.ini", "code": "zh-tw", "exists": True, "forced": False,
     "locales": ["zh_TW", "zh_HK", "zh_SG", "zh_MO"]},
    {"file": "Language/ru-ru.ini", "code": "ru-ru", "exists": False, "forced": False, "locales": ["ru_RU"]},
    {"file": "Language/it-it.ini", "code": "it-it", "exists": True, "forced": False, "locales": []},
]


class PreferredLocale(unittest.TestCase):
    def test_the_locale_a_file_is_previewed_under(self):
        cases = [
            ("pt-pt", ["pt_BR", "pt_PT"], "pt_PT"),  # the code names it
            ("zh-tw", ["zh_TW", "zh_HK"], "zh_TW"),
            ("ko-ko", ["ko_KR"], "ko_KR"),  # no ko_KO: the language's first
            ("nl-nl", ["nl_BE", "nl_NL"], "nl_NL"),
            ("en-us", ["en_GB", "en_US", "it_IT"], "en_US"),
            ("de-de", ["zh_CN", "de_CH", "en_US"], "de_CH"),  # forced: a German user first
            ("xx-yy", ["zh_CN", "en_US", "de_DE"], "en_US"),  # forced unknown code: English
            ("xx-yy", ["zh_CN", "de_DE"], "zh_CN"),
            ("de-de", [], None),
        ]
        for code, locales, expected in cases:
            with self.subTest(code=code, locales=locales):
                self.assertEqual(plan.preferred_locale(code, locales), expected)


class LanguageRuns(unittest.TestCase):
    def test_one_run_per_file_some_user_gets(self):
        runs = plan.language_runs({"languageFiles": SAMPLE_FILES})
        self.assertEqual([(run.code, run.locale) for run in runs],
                         [("de-de", "de_DE"), ("en-us", "en_US"), ("ko-ko", "ko_KR"), ("pt-pt", "pt_PT"),
                          ("zh-tw", "zh_TW")])
        self.assertEqual(runs[0].file, "Language/de-de.ini")

    def test_one_language_or_one_locale(self):
        cases = [
            ({"language": "pt-pt"}, [("pt-pt", "pt_PT")]),
            ({"language": "PT-PT"}, [("pt-pt", "pt_PT")]),
            ({"locale": "pt_BR"}, [("pt-pt", "pt_BR")]),  # that user's own locale, not the preferred one
            ({"locale": "it_IT"}, [("en-us", "it_IT")]),
        ]
        for options, expected in cases:
            with self.subTest(options=options):
                runs = plan.language_runs({"languageFiles": SAMPLE_FILES}, **options)
                self.assertEqual([(run.code, run.locale) for run in runs], expected)

    def test_nothing_to_preview_says_why(self):
        cases = [
            ({}, {"language": "ru-ru"}, "ru-ru.ini"),  # listed, but the file is missing
            ({}, {"language": "it-it"}, "it-it.ini"),  # on the medium, but no user gets it
            ({}, {"locale": "xx_XX"}, "xx_XX"),
            ({"languageFiles": []}, {}, "any language file"),
        ]
        for report, options, words in cases:
            with self.subTest(options=options):
                with self.assertRaises(plan.PlanError) as raised:
                    plan.language_runs(report or {"languageFiles": SAMPLE_FILES}, **options)
                self.assertIn(words, str(raised.exception))

    def test_a_forced_file_is_one_run(self):
        forced = [{"file": "Language/de-de.ini", "code": "de-de", "exists": True, "forced": True,
                   "locales": ["zh_CN", "de_DE", "en_US"]}]
        runs = plan.language_runs({"languageFiles": forced})
        self.assertEqual(runs, [plan.LanguageRun("de-de", "Language/de-de.ini", "de_DE", forced=True)])

    def test_files_no_user_gets(self):
        self.assertEqual(plan.unused_language_files({"languageFiles": SAMPLE_FILES}), ["Language/it-it.ini"])


class InstallerTargets(unittest.TestCase):
    def test_what_the_install_lists_rules_open_for_the_previewed_users(self):
        def resolution(locale, path, list_name="installs", folder=False):
            return {"list": list_name, "locale": locale, "path": path, "isFolder": folder}

        report = {"resolutions": [
            resolution("de_DE", "Setup/Driver/de_DE/setup.exe"),
            resolution("en_US", "Setup/Driver/en_US/setup.exe"),
            resolution("fr_FR", "Setup/Driver/fr_FR/setup.exe"),  # nobody previews fr_FR
            resolution("de_DE", "Setup/Main/setup.exe"),
            resolution("en_US", "Setup/Main/setup.exe"),  # once
            resolution("de_DE", None),  # nothing matched
            resolution("de_DE", "Setup/Folder", folder=True),
            resolution("de_DE", "Manuals/de/guide.exe", list_name="manuals"),  # never run
        ]}
        self.assertEqual(plan.installer_targets(report, ["de_DE", "en_US"]),
                         ["Setup/Driver/de_DE/setup.exe", "Setup/Driver/en_US/setup.exe", "Setup/Main/setup.exe"])


class ItemIds(unittest.TestCase):
    def test_the_strid_of_each_row(self):
        with tempfile.TemporaryDirectory() as medium:
            with open(os.path.join(medium, "conf.xml"), "w") as conf:
                conf.write('<setup><installs><item strId="A" open="a.exe"/><item open="b.exe"/></installs>'
                           '<manuals><item strId="M"/></manuals><installs><item strId="IGNORED"/></installs>'
                           '</setup>')
            self.assertEqual(plan.item_ids(medium), {"installs": ["A", None], "manuals": ["M"]})
            with open(os.path.join(medium, "conf.xml"), "w") as conf:
                conf.write("<setup><installs>")
            self.assertEqual(plan.item_ids(medium), {"installs": [], "manuals": []})


if __name__ == "__main__":
    unittest.main()
