#pragma once

#include <cstddef>
#include <string>

// The exit confirmation's question is formed in a buffer of this many UTF-16 units,
// terminator included.
inline constexpr std::size_t kExitQuestionCapacity = 256;

// `first`, a line break ("\r\n"), then `second`, cut to kExitQuestionCapacity - 1 units. The
// texts are read up to their terminator or kExitQuestionCapacity units, whichever comes first
// (the interface text slots hold at most that many). A cut never leaves half a surrogate pair
// at the end. wchar_t values are taken as UTF-16 units whatever their width.
std::wstring ComposeExitQuestion(const wchar_t* first, const wchar_t* second);
