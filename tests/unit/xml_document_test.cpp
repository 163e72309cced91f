#include "config/xml_document.h"

#include <gtest/gtest.h>

#include <climits>
#include <string>

#include "support/test_paths.h"

namespace {

const tinyxml2::XMLElement& Parse(XmlDocument& document, const std::string& xml) {
    EXPECT_EQ(document.Parse(xml.c_str()), tinyxml2::XML_SUCCESS);
    return *document.RootElement();
}

TEST(XmlBoolAttribute, KnowsTheBooleanWords) {
    const struct {
        const char* written;  // nullptr: no attribute
        bool found;
        bool value;  // after starting from the opposite of the expected value, or unchanged
    } cases[] = {
        {"true", true, true},   {"TRUE", true, true},   {"True", true, true},        {"tRuE", true, true},
        {"yes", true, true},    {"YES", true, true},    {"Yes", true, true},         {"1", true, true},
        {"false", true, false}, {"FALSE", true, false}, {"False", true, false},      {"no", true, false},
        {"NO", true, false},    {"No", true, false},    {"0", true, false},          {"", false, false},
        {"2", false, false},    {"on", false, false},   {" yes", false, false},      {"yes ", false, false},
        {"01", false, false},   {"y", false, false},    {"truefalse", false, false}, {nullptr, false, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.written ? c.written : "(absent)");
        XmlDocument document;
        const auto& element =
            Parse(document, c.written ? std::string("<r debug=\"") + c.written + "\"/>" : std::string("<r/>"));
        for (const bool start : {false, true}) {
            bool value = start;
            EXPECT_EQ(QueryBoolAttribute(element, "debug", value), c.found);
            EXPECT_EQ(value, c.found ? c.value : start);
        }
    }
}

TEST(XmlIntAttribute, ReadsTheLeadingNumber) {
    const struct {
        const char* written;
        bool found;
        int value;
    } cases[] = {
        {"1", true, 1},
        {"-7", true, -7},
        {"+3", true, 3},
        {"  42", true, 42},
        {"12abc", true, 12},
        {"0x10", true, 0},  // decimal only, as "%d" reads it
        {"2147483647", true, INT_MAX},
        {"99999999999999999999", true, INT_MAX},
        {"-2147483648", true, INT_MIN},
        {"-99999999999999999999", true, INT_MIN},
        {"abc", false, 0},
        {"", false, 0},
        {"-", false, 0},
        {" + 1", false, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.written);
        XmlDocument document;
        const auto& element = Parse(document, std::string("<r n=\"") + c.written + "\"/>");
        int value = -12345;
        EXPECT_EQ(QueryIntAttribute(element, "n", value), c.found);
        EXPECT_EQ(value, c.found ? c.value : -12345);
        EXPECT_EQ(AsciiToInt(c.written), c.value);
    }
    XmlDocument document;
    int value = 5;
    EXPECT_FALSE(QueryIntAttribute(Parse(document, "<r/>"), "n", value));
    EXPECT_EQ(value, 5);
}

TEST(XmlDocumentTest, CondensesElementText) {
    XmlDocument document;
    const auto& root = Parse(document, "<r><e>  Main \n\t Title  </e><f>&amp;&#x4E2D;</f></r>");
    EXPECT_STREQ(root.FirstChildElement("e")->GetText(), "Main Title");
    EXPECT_STREQ(root.FirstChildElement("f")->GetText(), "&\xE4\xB8\xAD");
}

TEST(XmlDocumentTest, LoadsOnlyWellFormedFiles) {
    const std::string bad = test::DataDir() + "config" + test::DataDir().back() + "bad" + test::DataDir().back();
    test::TempFolder folder;
    const struct {
        const char* name;
        std::string path;
        bool loads;
    } cases[] = {
        {"byte-order mark", bad + "bom.xml", true},
        {"element after the root", bad + "trailing_element.xml", true},
        {"comment only", bad + "no_root.xml", true},
        {"missing", bad + "missing.xml", false},
        {"empty", bad + "empty.xml", false},
        {"truncated", bad + "truncated.xml", false},
        {"not XML", bad + "not_xml.xml", false},
        {"UTF-16", bad + "utf16.xml", false},
        {"nested too deeply", bad + "deep.xml", false},
        {"folder", folder.Path(), false},
        {"larger than the limit", folder.Write("huge.xml", "<r>" + std::string(kMaxXmlFileBytes, ' ') + "</r>"), false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        XmlDocument document;
        EXPECT_EQ(LoadXmlFile(document, c.path) == tinyxml2::XML_SUCCESS, c.loads);
    }
}

}  // namespace
