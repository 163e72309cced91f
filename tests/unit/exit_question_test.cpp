// The exit confirmation's question: two slot texts around a line break, bounded to the
// 256-unit buffer without splitting a surrogate pair. Runs natively and under wine64.
#include "tasks/exit_question.h"

#include <gtest/gtest.h>

#include <array>
#include <string>

namespace {

constexpr wchar_t kHigh = 0xD83D;  // first half of U+1F600
constexpr wchar_t kLow = 0xDE00;   // second half

std::wstring Repeat(std::size_t count, wchar_t unit) { return std::wstring(count, unit); }

TEST(ExitQuestion, JoinsBothTextsAroundALineBreak) {
    struct Case {
        const char* name;
        const wchar_t* first;
        const wchar_t* second;
        std::wstring expected;
    };
    const std::wstring pair{kHigh, kLow};
    const Case cases[] = {
        {"plain", L"A", L"B", L"A\r\nB"},
        {"empty first", L"", L"B", L"\r\nB"},
        {"empty second", L"A", L"", L"A\r\n"},
        {"both empty", L"", L"", L"\r\n"},
        {"null texts count as empty", nullptr, nullptr, L"\r\n"},
        {"a text's own line breaks stay", L"A\nB", L"C\r\nD", L"A\nB\r\nC\r\nD"},
        {"CJK kept", L"确定要退出吗？", L"安装将被中断。", L"确定要退出吗？\r\n安装将被中断。"},
        {"pair kept whole when it fits", pair.c_str(), L"x", pair + L"\r\nx"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(ComposeExitQuestion(c.first, c.second), c.expected) << c.name;
    }
}

TEST(ExitQuestion, CutsToTheBufferWithoutSplittingAPair) {
    const std::size_t limit = kExitQuestionCapacity - 1;  // 255 units plus the terminator
    struct Case {
        const char* name;
        std::wstring first;
        std::wstring second;
        std::wstring expected;
    };
    const Case cases[] = {
        {"253 units together fit exactly", Repeat(200, L'a'), Repeat(53, L'b'),
         Repeat(200, L'a') + L"\r\n" + Repeat(53, L'b')},
        {"one unit more is cut", Repeat(200, L'a'), Repeat(54, L'b'), Repeat(200, L'a') + L"\r\n" + Repeat(53, L'b')},
        {"a long second text is cut at the bound", L"A", Repeat(300, L'b'), L"A\r\n" + Repeat(limit - 3, L'b')},
        {"a full first slot leaves no room for the rest", Repeat(255, L'a'), L"B", Repeat(255, L'a')},
        {"half the line break is not kept", Repeat(254, L'a'), L"B", Repeat(254, L'a')},
        {"a first text's own carriage return is kept", Repeat(253, L'a') + L"\r", L"B", Repeat(253, L'a') + L"\r"},
        {"the high half at the cut is dropped", Repeat(200, L'a'), Repeat(52, L'b') + std::wstring{kHigh, kLow} + L"c",
         Repeat(200, L'a') + L"\r\n" + Repeat(52, L'b')},
        {"a pair ending exactly at the cut stays", Repeat(200, L'a'),
         Repeat(51, L'b') + std::wstring{kHigh, kLow} + L"c",
         Repeat(200, L'a') + L"\r\n" + Repeat(51, L'b') + std::wstring{kHigh, kLow}},
    };
    for (const Case& c : cases) {
        const std::wstring question = ComposeExitQuestion(c.first.c_str(), c.second.c_str());
        EXPECT_EQ(question, c.expected) << c.name;
        EXPECT_LE(question.size(), limit) << c.name;
    }
}

TEST(ExitQuestion, ReadsNoFurtherThanASlotWhenTheTerminatorIsMissing) {
    // Two slot-sized arrays with no terminator, followed by a marker the composition must not reach.
    struct Slots {
        std::array<wchar_t, kExitQuestionCapacity> first;
        std::array<wchar_t, kExitQuestionCapacity> second;
        wchar_t marker[4];
    } slots{};
    slots.first.fill(L'a');
    slots.second.fill(L'b');
    slots.marker[0] = L'!';
    const std::wstring question = ComposeExitQuestion(slots.first.data(), slots.second.data());
    EXPECT_EQ(question, Repeat(kExitQuestionCapacity - 1, L'a'));
    EXPECT_EQ(ComposeExitQuestion(L"", slots.second.data()), L"\r\n" + Repeat(kExitQuestionCapacity - 3, L'b'));
}

}  // namespace
