#include "tasks/dot_labels.h"

#include <gtest/gtest.h>

#include <string>

namespace {

std::u16string Label(const std::u16string& base, int dots) {
    char16_t buffer[kDotLabelCapacity];
    for (auto& unit : buffer) unit = u'#';  // garbage, to see that the terminator is written
    BuildDotLabel(base.c_str(), dots, buffer);
    return std::u16string(buffer);
}

TEST(DotLabels, AppendsTheDotsToTheHeading) {
    struct Case {
        std::u16string base;
        int dots;
        std::u16string expected;
    };
    const Case cases[] = {
        {u"Installing", 1, u"Installing."},
        {u"Installing", 3, u"Installing..."},
        {u"Installing", 5, u"Installing....."},
        {u"", 1, u"."},
        {u"", 5, u"....."},
        {u"正在安装", 2, u"正在安装.."},
        {u"Installing", 0, u"Installing"},
        {u"Installing", 9, u"Installing....."},  // never more dots than labels
        {u"Installing", -2, u"Installing"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(Label(c.base, c.dots), c.expected) << "dots " << c.dots;
    }
}

TEST(DotLabels, TheLongestSlotTextKeepsAllItsUnitsAndLongerOnesNeverOverrun) {
    struct Case {
        std::size_t baseLength;
        int dots;
        std::size_t expectedLength;
    };
    const Case cases[] = {
        {255, 5, 260},                                 // the longest text a table slot holds, whole, with five dots
        {255, 1, 256},  {250, 5, 255}, {256, 5, 260},  // longer than any slot: cut, dots and terminator still fit
        {1000, 5, 260},
    };
    for (const Case& c : cases) {
        const std::u16string label = Label(std::u16string(c.baseLength, u'x'), c.dots);
        EXPECT_EQ(label.size(), c.expectedLength) << "base " << c.baseLength;
        EXPECT_EQ(label.substr(label.size() - static_cast<std::size_t>(c.dots)),
                  std::u16string(static_cast<std::size_t>(c.dots), u'.'))
            << "base " << c.baseLength;
    }
}

TEST(DotLabels, NullHeadingGivesDotsOnly) {
    char16_t buffer[kDotLabelCapacity];
    BuildDotLabel<char16_t>(nullptr, 4, buffer);
    EXPECT_EQ(std::u16string(buffer), u"....");
}

}  // namespace
