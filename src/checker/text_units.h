#pragma once

#include <string>

// Interface texts are measured in UTF-16 units, as the window's buffers count them.
namespace checker {

// The text's UTF-16 units, one per wchar_t (a character beyond U+FFFF gives two), on every
// platform: what the core's UTF-16 composers expect.
std::wstring Utf16Units(const std::wstring& text);

}  // namespace checker
