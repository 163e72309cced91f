#include "config/product_config.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "config/xml_document.h"
#include "platform/text.h"
#include "support/test_paths.h"

namespace {

struct ShownBox {
    std::string text;
    std::string caption;
    unsigned type;
};

// Collects the message boxes a call shows instead of showing them.
class BoxRecorder {
public:
    MessageBoxFunction Function() {
        return [this](const std::string& text, const std::string& caption, unsigned type) {
            boxes.push_back({text, caption, type});
            return 1;
        };
    }
    std::vector<ShownBox> boxes;
};

std::string DataPath(const std::string& relative) {
    std::string path = test::DataDir() + relative;
    for (char& c : path) {
        if (c == '/') c = test::DataDir().back();
    }
    return path;
}

std::string MediumLanguageFolder() { return DataPath("config/medium/Language"); }

struct ExpectedItem {
    std::optional<std::string> strId;
    std::optional<std::string> open;
    bool selectedByDefault;
    int icon;
    std::optional<std::string> defaultLanguage;
    std::wstring text;
};

void ExpectItems(const ConfigItemList& items, const std::vector<ExpectedItem>& expected) {
    ASSERT_EQ(items.size(), expected.size());
    for (std::size_t i = 0; i < items.size(); ++i) {
        SCOPED_TRACE(i);
        const ConfigItem& item = *items[i];
        EXPECT_EQ(item.strId, expected[i].strId);
        EXPECT_EQ(item.open, expected[i].open);
        EXPECT_EQ(item.selectedByDefault, expected[i].selectedByDefault);
        EXPECT_EQ(item.selected, expected[i].selectedByDefault);
        EXPECT_EQ(item.icon, expected[i].icon);
        EXPECT_EQ(item.defaultLanguage, expected[i].defaultLanguage);
        ASSERT_TRUE(item.text.has_value());
        EXPECT_EQ(*item.text, expected[i].text);
    }
}

TEST(LoadProductConfigTest, ReadsTheMedium) {
    ProductConfig config;
    LanguageState state(0x0409, "en", "US");
    BoxRecorder recorder;
    EXPECT_EQ(LoadProductConfig(0x0409, MediumLanguageFolder(), DataPath("config/medium/conf.xml"), config, state,
                                recorder.Function()),
              0);
    EXPECT_TRUE(recorder.boxes.empty());
    EXPECT_TRUE(config.uiShowIcon);
    EXPECT_TRUE(config.installsShowIcon);  // carried over from ui
    EXPECT_FALSE(config.manualsShowIcon);
    ExpectItems(config.installs,
                {
                    {"Driver", "Driver\\{language}\\setup.exe", true, 2, std::nullopt, L"Printer driver"},
                    {"Tools", "Tools\\setup.exe", false, 3, "de", L"Maintenance tools"},
                    {"Viewer", std::nullopt, false, 0, std::nullopt, L""},
                    {"driver", "\\Share\\x.exe", true, 0, std::nullopt, L"Printer driver"},
                });
    ExpectItems(config.manuals, {
                                    {"Manual", "Docs\\manual.pdf", false, 0, std::nullopt, L"User's manual"},
                                    {"", "Docs\\empty-id.pdf", false, 0, std::nullopt, L""},
                                    {std::nullopt, std::nullopt, false, 0, std::nullopt, L""},
                                });
}

TEST(LoadProductConfigTest, ItemTextsFollowTheLanguage) {
    const struct {
        const char* name;
        std::uint16_t id;
        const char* testLanguage;  // written into conf.xml when set
        std::wstring driver;
    } cases[] = {
        {"English", 0x0409, nullptr, L"Printer driver"},
        {"German", 0x0407, nullptr, L"Druckertreiber"},
        {"Chinese", 0x0804, nullptr, L"打印机驱动程序"},
        {"Taiwan has no file", 0x0404, nullptr, L""},
        {"forced German for a Chinese user", 0x0804, "de-de", L"Druckertreiber"},
        {"forced code without file", 0x0409, "xx-xx", L""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        test::TempFolder folder;
        const std::string forced = c.testLanguage ? std::string(" testLanguage=\"") + c.testLanguage + "\"" : "";
        const std::string conf =
            folder.Write("conf.xml", "<config" + forced + "><installs><item strId=\"Driver\"/></installs></config>");
        ProductConfig config;
        LanguageState state(c.id, "xx", "XX");
        EXPECT_EQ(LoadProductConfig(c.id, MediumLanguageFolder(), conf, config, state, BoxRecorder().Function()), 0);
        ASSERT_EQ(config.installs.size(), 1u);
        EXPECT_EQ(config.installs[0]->text, c.driver);
    }
}

TEST(LoadProductConfigTest, WithoutLanguageFileTextsAreEmpty) {
    ProductConfig config;
    LanguageState state(0x0409, "en", "US");
    EXPECT_EQ(LoadProductConfig(0x0409, DataPath("config/missing"), DataPath("config/medium/conf.xml"), config, state,
                                BoxRecorder().Function()),
              0);
    ASSERT_EQ(config.installs.size(), 4u);
    for (const auto& item : config.installs) EXPECT_EQ(item->text, L"");
}

TEST(ParseProductConfigTest, ShowIconCarriesOver) {
    const struct {
        const char* xml;
        bool ui, installs, manuals;
    } cases[] = {
        {"<c/>", false, false, false},
        {"<c><ui showIcon=\"1\"/></c>", true, false, false},  // no installs or manuals: flags stay false
        {"<c><ui showIcon=\"1\"/><installs/><manuals/></c>", true, true, true},
        {"<c><ui showIcon=\"1\"/><installs showIcon=\"0\"/><manuals/></c>", true, false, false},
        {"<c><ui/><installs showIcon=\"1\"/><manuals/></c>", false, true, true},
        {"<c><installs/><manuals showIcon=\"1\"/></c>", false, false, true},
        {"<c><ui showIcon=\"2\"/><installs/><manuals showIcon=\"1\"/></c>", false, false, true},
        {"<c><ui showIcon=\"1\"/><installs showIcon=\"x\"/><manuals showIcon=\"1x\"/></c>", true, true, true},
        {"<c><manuals/><installs showIcon=\"1\"/><ui/></c>", false, true, true},  // elements read in fixed order
        {"<c><UI showIcon=\"1\"/><installs/></c>", false, false, false},          // names are case-sensitive
        {"<c><x><ui showIcon=\"1\"/></x><installs/></c>", false, false, false},   // children of the root only
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.xml);
        XmlDocument document;
        ASSERT_EQ(document.Parse(c.xml), tinyxml2::XML_SUCCESS);
        ProductConfig config;
        LanguageState state(0x0409, "en", "US");
        EXPECT_EQ(ReadProductConfig(document, config, state, BoxRecorder().Function()), 0);
        EXPECT_EQ(config.uiShowIcon, c.ui);
        EXPECT_EQ(config.installsShowIcon, c.installs);
        EXPECT_EQ(config.manualsShowIcon, c.manuals);
    }
}

TEST(ParseProductConfigTest, NormalisesItems) {
    const struct {
        const char* attributes;
        std::optional<std::string> open;
        bool selected;
    } cases[] = {
        {"open=\"/a/b.exe\" default=\"1\"", "a\\b.exe", true},
        {"open=\"\\a\\b.exe\" default=\"1\"", "a\\b.exe", true},
        {"open=\"//a/b.exe\"", "\\a\\b.exe", false},
        {"open=\"\\\\srv\\b.exe\"", "\\srv\\b.exe", false},
        {"open=\"a/b/c.exe\" default=\"2\"", "a\\b\\c.exe", false},
        {"open=\"/\" default=\"1\"", "", true},
        {"open=\"\" default=\"1\"", std::nullopt, false},
        {"default=\"1\"", std::nullopt, false},
        {"open=\"x.exe\" default=\" 1\"", "x.exe", true},
        {"open=\"x.exe\" default=\"1abc\"", "x.exe", true},
        {"open=\"x.exe\" default=\"true\"", "x.exe", false},
        {"open=\"R&amp;D/x.exe\"", "R&D\\x.exe", false},
        {"open=\"/דרייבר/中文/Ünï.exe\"", "דרייבר\\中文\\Ünï.exe", false},  // UTF-8 as it stands
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.attributes);
        XmlDocument document;
        ASSERT_EQ(document.Parse((std::string("<c><installs><item ") + c.attributes + "/></installs></c>").c_str()),
                  tinyxml2::XML_SUCCESS);
        ProductConfig config;
        LanguageState state(0x0409, "en", "US");
        ReadProductConfig(document, config, state, BoxRecorder().Function());
        ASSERT_EQ(config.installs.size(), 1u);
        EXPECT_EQ(config.installs[0]->open, c.open);
        EXPECT_EQ(config.installs[0]->selectedByDefault, c.selected);
        EXPECT_EQ(config.installs[0]->selected, c.selected);
        EXPECT_FALSE(config.installs[0]->text.has_value());  // texts come with the language file
    }
}

TEST(ParseProductConfigTest, DebugBoxShowsTheLanguageState) {
    const struct {
        const char* root;
        bool startDebug;
        std::optional<std::string> startTest;
        std::optional<std::string> text;  // nothing: no box
        std::optional<std::string> iniTest;
    } cases[] = {
        {"<c debug=\"yes\"/>", false, std::nullopt,
         "wLanguage = 0x0804\r\nszLanguage = zh\r\nszCountry = CN\r\nszIniTest = (null)", std::nullopt},
        {"<c debug=\"TRUE\" testLanguage=\"de-de\"/>", false, std::nullopt,
         "wLanguage = 0x0804\r\nszLanguage = zh\r\nszCountry = CN\r\nszIniTest = de-de", "de-de"},
        {"<c debug=\"1\" testLanguage=\"\"/>", false, "fr-fr",
         "wLanguage = 0x0804\r\nszLanguage = zh\r\nszCountry = CN\r\nszIniTest = fr-fr", "fr-fr"},
        {"<c testLanguage=\"ja-jp\"/>", false, "fr-fr", std::nullopt, "ja-jp"},
        {"<c debug=\"no\"/>", true, std::nullopt, std::nullopt, std::nullopt},
        {"<c debug=\"maybe\"/>", false, std::nullopt, std::nullopt, std::nullopt},
        {"<c debug=\"maybe\"/>", true, std::nullopt,
         "wLanguage = 0x0804\r\nszLanguage = zh\r\nszCountry = CN\r\nszIniTest = (null)", std::nullopt},
        {"<c/>", false, std::nullopt, std::nullopt, std::nullopt},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.root);
        XmlDocument document;
        ASSERT_EQ(document.Parse(c.root), tinyxml2::XML_SUCCESS);
        ProductConfig config;
        LanguageState state(0x0804, "zh", "CN");
        state.debug = c.startDebug;
        state.szIniTest = c.startTest;
        BoxRecorder recorder;
        EXPECT_EQ(ReadProductConfig(document, config, state, recorder.Function()), 0);
        EXPECT_EQ(state.szIniTest, c.iniTest);
        if (!c.text) {
            EXPECT_TRUE(recorder.boxes.empty());
            continue;
        }
        ASSERT_EQ(recorder.boxes.size(), 1u);
        EXPECT_EQ(recorder.boxes[0].text, *c.text);
        EXPECT_EQ(recorder.boxes[0].caption, "Setup debug");
        EXPECT_EQ(recorder.boxes[0].type, 0u);  // MB_OK
    }
}

TEST(ParseProductConfigTest, PathTextsThatAreNotUtf8AreReadInTheAnsiCodePage) {
    platform::SetAnsiCodePage(1252);
    if (platform::AnsiCodePage() != 1252) GTEST_SKIP() << "the system's ANSI code page is not 1252";
    XmlDocument document;
    ASSERT_EQ(document.Parse("<c testLanguage=\"d\xE9\"><installs><item strId=\"K\xFC\" open=\"M\xFCller/x.exe\" "
                             "defaultLanguage=\"\xE7\"/></installs></c>"),
              tinyxml2::XML_SUCCESS);
    ProductConfig config;
    LanguageState state(0x0407, "de", "DE");
    ReadProductConfig(document, config, state, BoxRecorder().Function());
    ASSERT_EQ(config.installs.size(), 1u);
    EXPECT_EQ(config.installs[0]->open, "Müller\\x.exe");
    EXPECT_EQ(config.installs[0]->defaultLanguage, "ç");
    EXPECT_EQ(config.installs[0]->strId, "K\xFC");  // a key, compared byte for byte
    EXPECT_EQ(state.szIniTest, "dé");
}

TEST(ParseProductConfigTest, DebugTextStaysBounded) {
    for (const std::size_t length : {100u, 200u, 250u, 10000u, 1000000u}) {
        SCOPED_TRACE(length);
        LanguageState state(0xFFFF, std::string(length, 'l'), "CN");
        state.szIniTest = std::string(length, 't');
        const std::string text = FormatDebugText(state);
        EXPECT_LE(text.size(), kDebugTextCapacity - 1);
        EXPECT_EQ(text.rfind("wLanguage = 0xffff\r\nszLanguage = llll", 0), 0u);
    }
}

TEST(ParseProductConfigTest, BadFilesChangeNothing) {
    const struct {
        const char* file;
        int result;
        std::size_t installs;
    } cases[] = {
        {"config/bad/missing.xml", -1, 0},   {"config/bad/empty.xml", -1, 0},
        {"config/bad/truncated.xml", -1, 0},  // asks for the debug box before it breaks off
        {"config/bad/not_xml.xml", -1, 0},   {"config/bad/utf16.xml", -1, 0},
        {"config/bad/deep.xml", -1, 0},      {"config/bad/no_root.xml", -1, 0},
        {"config/bad/bom.xml", 0, 1},        {"config/bad/trailing_element.xml", 0, 2},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.file);
        ProductConfig config;
        LanguageState state(0x0409, "en", "US");
        BoxRecorder recorder;
        EXPECT_EQ(ParseProductConfig(DataPath(c.file), config, state, recorder.Function()), c.result);
        EXPECT_EQ(config.installs.size(), c.installs);
        EXPECT_TRUE(recorder.boxes.empty());
        EXPECT_FALSE(state.debug);
        EXPECT_FALSE(state.szIniTest.has_value());
        if (c.result != 0) {
            EXPECT_TRUE(config.manuals.empty());
            EXPECT_FALSE(config.uiShowIcon || config.installsShowIcon || config.manualsShowIcon);
        }
    }
}

TEST(ParseProductConfigTest, ManyItemsAndLongValues) {
    std::string xml = "<c testLanguage=\"" + std::string(5000, 'z') + "\"><installs>";
    for (int i = 0; i < 2000; ++i)
        xml += "<item strId=\"" + std::string(300, 'k') + "\" open=\"/" + std::string(2000, 'a') + "\"/>";
    xml += "</installs></c>";
    test::TempFolder folder;
    ProductConfig config;
    LanguageState state(0x0409, "en", "US");
    EXPECT_EQ(LoadProductConfig(0x0409, MediumLanguageFolder(), folder.Write("conf.xml", xml), config, state,
                                BoxRecorder().Function()),
              0);
    ASSERT_EQ(config.installs.size(), 2000u);
    EXPECT_EQ(config.installs.back()->open, std::string(2000, 'a'));
    EXPECT_EQ(config.installs.back()->text, L"");
    EXPECT_EQ(state.szIniTest, std::string(5000, 'z'));
}

}  // namespace
