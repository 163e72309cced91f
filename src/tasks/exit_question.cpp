#include "tasks/exit_question.h"

namespace {

bool IsHighSurrogate(wchar_t unit) { return unit >= 0xD800 && unit <= 0xDBFF; }

// Never reads past kExitQuestionCapacity units, even when a text has no terminator there.
std::size_t BoundedLength(const wchar_t* text) {
    std::size_t length = 0;
    if (text) {
        while (length < kExitQuestionCapacity && text[length] != L'\0') ++length;
    }
    return length;
}

}  // namespace

std::wstring ComposeExitQuestion(const wchar_t* first, const wchar_t* second) {
    std::wstring question;
    question.reserve(kExitQuestionCapacity);
    const std::size_t firstLength = BoundedLength(first);
    question.append(first ? first : L"", firstLength);
    question.append(L"\r\n");
    question.append(second ? second : L"", BoundedLength(second));
    const std::size_t limit = kExitQuestionCapacity - 1;
    if (question.size() > limit) {
        question.resize(limit);
        // Neither half a surrogate pair nor half the line break is left at the end.
        if (IsHighSurrogate(question.back()) || question.size() == firstLength + 1) question.pop_back();
    }
    return question;
}
