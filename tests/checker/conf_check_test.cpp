// conf.xml: what the launcher refuses, ignores or reads differently, each finding exact.
#include <gtest/gtest.h>

#include "support/medium_builder.h"

namespace {

using checker::Severity;
using checker_test::ConfXml;
using checker_test::Expected;
using checker_test::kCleanInstalls;
using checker_test::kCleanManuals;
using checker_test::Replaced;

const char kMain[] = "    <item strId=\"APP_MAIN\" open=\"Setup/Main/setup.exe\" default=\"1\" icon=\"1\"/>\n";
const char kDriver[] = "    <item strId=\"APP_DRIVER\" open=\"Setup/Driver/{language}/driver.exe\" icon=\"3\"/>\n";

std::string Installs(const std::string& first) { return first + kDriver; }

const std::string kClean = ConfXml(kCleanInstalls, kCleanManuals);

struct Case {
    const char* name;
    std::string conf;  // "" removes conf.xml
    std::vector<Expected> findings;
};

TEST(ConfCheck, FindsWhatTheLauncherRefusesIgnoresOrReadsOtherwise) {
    const std::string box =
        "Configuration item:\nSetup\\Driver\\{Language}\\driver.exe\n\nNo file matching the "
        "following rule was found.\rSetup\\Driver\\{Language}\\driver.exe";
    const Case cases[] = {
        {"clean", ConfXml(kCleanInstalls, kCleanManuals), {}},
        {"missing",
         "",
         {{"conf.xml", 0, Severity::Error, "conf-missing",
           "There is no conf.xml: the launcher offers no installers and no manuals."}}},
        {"unquoted attribute values, read as fixed",
         ConfXml(Installs("    <item strId=\"APP_MAIN\" open=Setup/Main/setup.exe default=1 icon=\"1\"/>\n"),
                 kCleanManuals),
         {{"conf.xml", 5, Severity::Error, "xml-unreadable",
           "The launcher cannot read the file (TinyXML-2: XML_ERROR_PARSING_ATTRIBUTE): it offers no installers and "
           "no manuals."},
          {"conf.xml", 5, Severity::Error, "xml-unquoted-attribute",
           "Attribute values without quotes: older XML readers accepted them, this launcher refuses the whole file. "
           "Write the line as:     <item strId=\"APP_MAIN\" open=\"Setup/Main/setup.exe\" default=\"1\" icon=\"1\"/>"},
          {"conf.xml", 0, Severity::Note, "xml-read-as-fixed"}}},
        {"not XML", "This is not XML at all.\n", {{"conf.xml", 1, Severity::Error, "xml-unreadable"}}},
        {"no element",
         "<?xml version=\"1.0\"?>\n<!-- nothing -->\n",
         {{"conf.xml", 0, Severity::Error, "xml-no-root",
           "The file holds no element: it offers no installers and no manuals."}}},
        {"UTF-16", std::string("\xFF\xFE<\0s\0/\0>\0", 10), {{"conf.xml", 1, Severity::Error, "xml-unreadable"}}},
        {"declared encoding",
         Replaced(kClean, "utf-8", "gb2312"),
         {{"conf.xml", 1, Severity::Warning, "xml-encoding",
           "The declaration names the encoding \"gb2312\", but the launcher reads every XML file as UTF-8: save it as "
           "UTF-8."}}},
        {"debug on",
         Replaced(kClean, "debug=\"no\"", "debug=\"Yes\""),
         {{"conf.xml", 2, Severity::Warning, "conf-debug",
           "debug is on: every user gets the \"Setup debug\" box before the window opens."}}},
        {"debug word",
         Replaced(kClean, "debug=\"no\"", "debug=\"maybe\""),
         {{"conf.xml", 2, Severity::Note, "conf-debug-word"}}},
        {"test language",
         ConfXml(kCleanInstalls, kCleanManuals, " testLanguage=\"de-de\""),
         {{"conf.xml", 2, Severity::Warning, "conf-test-language",
           "testLanguage=\"de-de\" gives every user de-de.ini, whatever their language; remove it before shipping."}}},
        {"test language without a file",
         ConfXml(kCleanInstalls, kCleanManuals, " testLanguage=\"xx-xx\""),
         {{"conf.xml", 2, Severity::Warning, "conf-test-language"},
          {"Language/xx-xx.ini", 0, Severity::Error, "lang-missing",
           "There is no xx-xx.ini: every user (testLanguage forces it) get no interface texts at all (every caption "
           "and item is empty)."}}},
        {"misspelt attribute",
         ConfXml(Installs("    <item strId=\"APP_MAIN\" Open=\"Setup/Main/setup.exe\" default=\"1\"/>\n"),
                 kCleanManuals),
         {{"conf.xml", 5, Severity::Warning, "conf-unknown-attribute",
           "<item> attribute \"Open\" is unknown: the launcher ignores it. Names are case-sensitive: did you mean "
           "\"open\"?"},
          {"conf.xml", 5, Severity::Note, "item-no-open",
           "Item APP_MAIN has no open rule: it is listed greyed on both installation pages and can never be ticked "
           "or installed."},
          {"conf.xml", 5, Severity::Note, "item-default-without-open"}}},
        {"misspelt element and a second list",
         Replaced(kClean, "  </installs>\n",
                  "  </installs>\n  <Instals/>\n  <installs><item open=\"a\"/></installs>\n"),
         {{"conf.xml", 8, Severity::Warning, "conf-unknown-element",
           "<Instals> is unknown: the launcher ignores it. Did you mean \"installs\"?"},
          {"conf.xml", 9, Severity::Warning, "conf-ignored-element",
           "A second <installs>: the launcher reads only the first one and ignores this."}}},
        {"numbers",
         ConfXml(Installs("    <item strId=\"APP_MAIN\" open=\"Setup/Main/setup.exe\" default=\"yes\" icon=\"7\"/>\n"
                          "    <item strId=\"APP_MAIN\" open=\"Setup/Main/setup.exe\" default=\"2\" icon=\"x\"/>\n"),
                 kCleanManuals),
         {{"conf.xml", 5, Severity::Warning, "item-default-value",
           "default=\"yes\" is not a number: read as 0, it is not ticked."},
          {"conf.xml", 5, Severity::Warning, "item-icon-range",
           "icon 7 is outside the list's pictures 0-5: the row shows no picture."},
          {"conf.xml", 6, Severity::Note, "item-default-value", "default=\"2\": only 1 ticks an item."},
          {"conf.xml", 6, Severity::Warning, "item-icon-value",
           "icon=\"x\" is not a number: read as 0, the first picture."}}},
        {"text keys",
         ConfXml(
             Installs(
                 "    <item open=\"Setup/Main/setup.exe\"/>\n    <item strId=\"\" open=\"Setup/Main/setup.exe\"/>\n"),
             kCleanManuals),
         {{"conf.xml", 5, Severity::Warning, "item-no-strid", "Item has no strId: its row shows no text."},
          {"conf.xml", 6, Severity::Warning, "item-empty-strid"}}},
        {"icons of a list without icons",
         Replaced(Replaced(kClean, "icon=\"0\"", "icon=\"-1\""), "<manuals showIcon=\"1\"", "<manuals showIcon=\"0\""),
         {{"conf.xml", 9, Severity::Note, "item-icon-range",
           "icon -1 is outside the list's pictures 0-5: the row shows no picture. (This list shows no icons now.)"}}},
        {"carried showIcon",
         Replaced(kClean, "<installs showIcon=\"1\">", "<installs>"),
         {{"conf.xml", 4, Severity::Note, "conf-show-icon-carried",
           "<installs> has no showIcon: it takes the value read before it (from <ui>), so its list shows icons."}}},
        {"no installers",
         ConfXml("", kCleanManuals),
         {{"conf.xml", 4, Severity::Warning, "conf-no-installs",
           "<installs> holds no item: both installation pages list nothing."}}},
        {"token spelt otherwise",
         ConfXml(std::string(kMain) + "    <item strId=\"APP_DRIVER\" open=\"Setup/Driver/{Language}/driver.exe\" "
                                      "defaultLanguage=\"de\"/>\n",
                 kCleanManuals),
         {{"conf.xml", 6, Severity::Note, "item-default-language-unused"},
          {"conf.xml", 6, Severity::Warning, "rule-token-case"},
          {"conf.xml", 6, Severity::Error, "launch-no-match",
           "Item APP_DRIVER: no file matches its rule, so the user sees the \"Configuration exception\" box and the "
           "installer is not run.",
           box}}},
        {"a rule in a Windows code page, not UTF-8 (what it names depends on the user's code page)",
         ConfXml(std::string(kMain) + "    <item strId=\"APP_DRIVER\" open=\"Setup/M\xFCller.exe\"/>\n", kCleanManuals),
         {{"conf.xml", 6, Severity::Warning, "rule-not-utf8"}, {"conf.xml", 6, Severity::Error, "launch-no-match"}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        checker_test::Medium medium;
        if (c.conf.empty()) {
            medium.Remove("conf.xml");
        } else {
            medium.Write("conf.xml", c.conf);
        }
        const checker::Report report = medium.Check();
        EXPECT_TRUE(checker_test::FindingsAre(report, c.findings));
    }
}

}  // namespace
