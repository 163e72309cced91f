// UICfg.xml and the language files: who gets which file, and what a file holds that the
// launcher reads otherwise than its author meant. Each finding exact.
#include <gtest/gtest.h>

#include "checker/language_scan.h"
#include "config/ini_reader.h"
#include "support/medium_builder.h"

namespace {

using checker::Severity;
using checker_test::Expected;
using checker_test::LanguageFile;
using checker_test::Replaced;

struct Case {
    const char* name;
    std::vector<std::pair<std::string, std::string>> files;  // written; "" removes
    std::vector<Expected> findings;
};

std::vector<std::string> KeysWith(std::size_t count, std::size_t emptied = 99) {
    auto keys = checker_test::UiKeys();
    keys.resize(count);
    if (emptied < keys.size()) keys[emptied] = "";
    return keys;
}

// A language file with the first `count` interface keys only.
std::string FirstKeys(std::size_t count) {
    std::string text = "[ROOT]\r\n";
    for (const auto& key : KeysWith(count)) text += key + "=x\r\n";
    return text;
}

const std::string kUsersOfEnglish =
    "users of en_US, en_GB, en_AU, en_CA, it_CH, it_IT, es_MX, es_ES, sv_SE, cs_CZ, tr_TR and of every other "
    "language without a file of its own";

TEST(LanguageCheck, FindsWhatUsersMissAndWhatTheFilesHideFromThem) {
    const std::string longValue(300, 'x');
    const std::string splitCharacter = std::string(253, 'x') + "\xC3\xA4" + "tail";  // the cut falls inside "ä"
    const Case cases[] = {
        {"clean", {}, {}},
        {"a listed language missing",
         {{"Language/de-de.ini", ""}},
         {{"Language/de-de.ini", 0, Severity::Warning, "lang-missing",
           "There is no de-de.ini: users of de_DE, de_CH, de_AT get no interface texts at all (every caption and item "
           "is empty). A copy of another language file would at least show that language."}}},
        {"English missing hits every unlisted language",
         {{"Language/en-us.ini", ""}},
         {{"Language/en-us.ini", 0, Severity::Error, "lang-missing",
           "There is no en-us.ini: " + kUsersOfEnglish +
               " get no interface texts at all (every caption and item is empty). A copy of another language file "
               "would at least show that language."}}},
        {"byte-order mark before the header",
         {{"Language/ja-jp.ini", "\xEF\xBB\xBF" + LanguageFile("ja-jp")}},
         {{"Language/ja-jp.ini", 1, Severity::Error, "lang-bom",
           "The file starts with a UTF-8 byte-order mark, so for the launcher its first line is not the [ROOT] "
           "header: users of ja_JP get no texts. Save it without the mark."}}},
        {"byte-order mark before a comment, which it turns into a key",
         {{"Language/ja-jp.ini", "\xEF\xBB\xBF; comment\r\n" + LanguageFile("ja-jp")}},
         {{"Language/ja-jp.ini", 1, Severity::Note, "lang-bom"},
          {"Language/ja-jp.ini", 1, Severity::Warning, "lang-outside-root",
           "Keys before the [ROOT] header (line 2) are never read."}}},
        {"UTF-16",
         {{"Language/ko-ko.ini", std::string("\xFF\xFE[\0R\0O\0O\0T\0]\0", 14)}},
         {{"Language/ko-ko.ini", 0, Severity::Error, "lang-utf16"}}},
        {"no section",
         {{"Language/ko-ko.ini", "TITLE=x\r\n"}},
         {{"Language/ko-ko.ini", 0, Severity::Error, "lang-no-root",
           "There is no [ROOT] section: users of ko_KR get no texts."}}},
        {"keys outside the section and a second section",
         {{"Language/nl-nl.ini", "Stray=1\r\n" + LanguageFile("nl-nl") + "[Other]\r\n[root]\r\nLost=1\r\n"}},
         {{"Language/nl-nl.ini", 1, Severity::Warning, "lang-outside-root",
           "Keys before the [ROOT] header (line 2) are never read."},
          {"Language/nl-nl.ini", 44, Severity::Warning, "lang-second-root"}}},
        {"duplicates, long values, other encodings",
         {{"Language/pl-pl.ini", LanguageFile("pl-pl", "UI_3 = again\r\nui_4 = pl-pl text UI_4\r\nLong = " + longValue +
                                                           "\r\nSplit = " + splitCharacter +
                                                           "\r\nLatin = Gr\xFC\xDF"
                                                           "e\r\n")}},
         {{"Language/pl-pl.ini", 42, Severity::Warning, "lang-duplicate-key",
           "UI_3 is defined again (first on line 5): the launcher uses the first, \"pl-pl text UI_3\"."},
          {"Language/pl-pl.ini", 43, Severity::Note, "lang-duplicate-key",
           "ui_4 is defined again (first on line 6): the launcher uses the first, which says the same."},
          {"Language/pl-pl.ini", 44, Severity::Warning, "lang-value-too-long",
           "The value of Long is 300 bytes; the launcher shows only its first 254."},
          {"Language/pl-pl.ini", 45, Severity::Warning, "lang-value-too-long",
           "The value of Split is 259 bytes; the launcher shows only its first 254, and the cut splits a character, "
           "which shows as U+FFFD."},
          {"Language/pl-pl.ini", 46, Severity::Warning, "lang-not-utf8"}}},
        {"keys missing in one file, and in all",
         {{"Language/zh-cn.ini", FirstKeys(25) + "APP_MAIN=x\r\n"},
          {"conf.xml", checker_test::ConfXml("    <item strId=\"NOWHERE\" open=\"Setup/Main/setup.exe\"/>\n",
                                             checker_test::kCleanManuals)}},
         {{"conf.xml", 5, Severity::Warning, "item-text-undefined",
           "No language file defines \"NOWHERE\": the text of item NOWHERE is empty for every user."},
          {"Language/zh-cn.ini", 0, Severity::Warning, "lang-missing-key",
           "13 keys are missing, so their texts are empty for users of zh_CN: DOC_GUIDE (item DOC_GUIDE, conf.xml "
           "line 8), UI_25 (entry 25 (slot 25), Language/UICfg.xml line 27), UI_26 (entry 26 (slot 26), "
           "Language/UICfg.xml line 28), UI_27 (entry 27 (slot 27), Language/UICfg.xml line 29), UI_28 (entry 28 "
           "(slot 28), Language/UICfg.xml line 30), UI_29 (entry 29 (slot 29), Language/UICfg.xml line 31), UI_30 "
           "(entry 30 (slot 30), Language/UICfg.xml line 32), UI_31 (entry 31 (slot 31), Language/UICfg.xml line 33) "
           "and 5 more."}}},
        {"one key missing",
         {{"Language/ru-ru.ini", Replaced(LanguageFile("ru-ru"), "UI_7 =", "UI_7x =")}},
         {{"Language/ru-ru.ini", 0, Severity::Warning, "lang-missing-key",
           "1 key is missing, so its text is empty for users of ru_RU: UI_7 (entry 7 (slot 7), Language/UICfg.xml "
           "line 9)."}}},
        {"the exit question cut",
         {{"Language/fr-fr.ini",
           Replaced(Replaced(LanguageFile("fr-fr"), "UI_32 = fr-fr text UI_32", "UI_32 = " + std::string(200, 'q')),
                    "UI_33 = fr-fr text UI_33", "UI_33 = " + std::string(60, 'r'))}},
         {{"Language/fr-fr.ini", 35, Severity::Warning, "lang-exit-question-cut",
           "The exit question (UI_32, a line break, UI_33) needs 262 UTF-16 units; its buffer holds 255, so the user "
           "sees it cut after 255."}}},
        {"the exit question just fits, counted in UTF-16 units",
         {{"Language/fr-fr.ini",
           Replaced(Replaced(LanguageFile("fr-fr"), "UI_32 = fr-fr text UI_32",
                             "UI_32 = " + std::string(190, 'q') + "\xF0\x9F\x98\x80"),  // two units
                    "UI_33 = fr-fr text UI_33", "UI_33 = " + std::string(61, 'r'))}},
         {}},
        {"access keys: two buttons of a page share one, one underlines nothing, a label hides a single &",
         {{"Language/de-de.ini", Replaced(Replaced(Replaced(Replaced(LanguageFile("de-de"), "text UI_16", "&Back"),
                                                            "text UI_17", "&back up && on"),
                                                   "text UI_9", "Exit &"),
                                          "text UI_0", "Smith & Sons && Co")}},
         {{"Language/de-de.ini", 2, Severity::Warning, "lang-label-ampersand",
           "UI_0 is shown by a label, which hides a single & and underlines the character after it: write && for "
           "an ampersand."},
          {"Language/de-de.ini", 11, Severity::Warning, "lang-access-key-at-end",
           "The caption UI_9 ends in a single &, which underlines nothing and gives the button no access key: write "
           "&& for an ampersand."},
          {"Language/de-de.ini", 19, Severity::Warning, "lang-access-key-clash",
           "UI_16 and UI_17, buttons of the installation pages, both have the access key B: Alt+B can press only one "
           "of them."}}},
        {"a file no user gets",
         {{"Language/es-es.ini", LanguageFile("es-es")}},
         {{"Language/es-es.ini", 0, Severity::Note, "lang-never-chosen",
           "No user ever gets this file: the launcher picks only de-de, en-us, fr-fr, ja-jp, ko-ko, nl-nl, pl-pl, "
           "pt-pt, ru-ru, zh-cn, zh-tw (or a testLanguage)."}}},
        {"UICfg.xml short, long, without keys and attributes",
         {{"Language/UICfg.xml", checker_test::UiCfgXml(KeysWith(30, 4))}},
         {{"Language/UICfg.xml", 1, Severity::Warning, "uicfg-few-entries",
           "There are 30 entries; the interface has 37: the texts of entries 30 to 36 stay empty."},
          {"Language/UICfg.xml", 6, Severity::Warning, "uicfg-empty-key",
           "entry 4 (slot 4) has no key: that interface text stays empty."}}},
        {"UICfg.xml entries beyond 37 and with one attribute",
         {{"Language/UICfg.xml",
           Replaced(checker_test::UiCfgXml(KeysWith(37)), "<ui>\n", "<ui>\n<t a=\"1\">UI_0</t>\n")}},
         {{"Language/UICfg.xml", 2, Severity::Note, "uicfg-few-attributes",
           "entry 0 (slot 0) has 1 attributes; the two numbers kept with the text read as 0 where missing."},
          {"Language/UICfg.xml", 39, Severity::Note, "uicfg-extra-entries",
           "Entries from here on (1) are ignored: the launcher reads the first 37."}}},
        {"UICfg.xml missing",
         {{"Language/UICfg.xml", ""}},
         {{"Language/UICfg.xml", 0, Severity::Error, "uicfg-missing",
           "There is no Language/UICfg.xml: every interface text is empty for every user."}}},
        {"UICfg.xml key beyond ASCII",
         {{"Language/UICfg.xml", Replaced(checker_test::UiCfgXml(KeysWith(37)), "UI_0<",
                                          "Gr\xC3\xB6\xC3\x9F"
                                          "e<")}},
         {{"Language/UICfg.xml", 2, Severity::Warning, "uicfg-key-undefined",
           "No language file defines \"Gr\xF6\xDF"
           "e\": the text of entry 0 (slot 0) is empty for every user. The key "
           "holds characters outside ASCII; the launcher converts it to code page 1252 before the lookup, so it "
           "cannot match a UTF-8 key: use ASCII keys."}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        checker_test::Medium medium;
        for (const auto& [file, bytes] : c.files) {
            if (bytes.empty()) {
                medium.Remove(file);
            } else {
                medium.Write(file, bytes);
            }
        }
        EXPECT_TRUE(checker_test::FindingsAre(medium.Check(), c.findings));
    }
}

// The checker reads a whole file once; for every key it must deliver what the launcher's own
// lookup delivers.
TEST(LanguageScan, DeliversWhatTheLookupDelivers) {
    test::TempFolder folder;
    const std::string text =
        "Before=0\r\n[ROOT]\r\n Key = \"quoted\" \r\nkey=second\r\nNoEquals\r\nLong=" + std::string(400, 'l') +
        "\r\n;Comment=1\r\n[Other]\r\nOther=1\r\n[ROOT]\r\nLate=1\r\n";
    const std::string path = folder.Write("x.ini", text);
    const checker::LanguageScan scan = checker::ScanLanguageFile(path);
    EXPECT_EQ(scan.rootLine, 2);
    EXPECT_EQ(scan.firstKeyBeforeRoot, 1);
    EXPECT_EQ(scan.ignoredRootLines, std::vector<int>{10});
    for (const char* key :
         {"Key", "KEY", " key ", "NoEquals", "Long", "Comment", ";Comment", "Other", "Late", "Before", "Missing"}) {
        SCOPED_TRACE(key);
        EXPECT_EQ(scan.Deliver(key), ReadIniValue(path, "ROOT", key));
    }
}

}  // namespace
