#pragma once

#include <string>

// Character-set conversions between narrow text of a code page and wide text
// (MultiByteToWideChar / WideCharToMultiByte). Wide text is UTF-16 on Windows and UTF-32 on
// POSIX, where wchar_t holds a whole code point.
namespace platform {

inline constexpr unsigned kAnsiCodePage = 0;  // CP_ACP: the active ANSI code page
inline constexpr unsigned kUtf8CodePage = 65001;

// The text up to its terminator, converted without flags. Invalid input becomes U+FFFD as
// the platform conversion decides.
std::wstring MultiByteToWide(const char* text, unsigned codePage);

// The text up to its terminator, converted without flags and without a default character
// of our own: what the code page lacks becomes the platform's default character ('?').
std::string WideToMultiByte(const wchar_t* text, unsigned codePage);

// Whether the text up to its terminator is well-formed UTF-8 (MultiByteToWideChar with
// MB_ERR_INVALID_CHARS): no stray or missing continuation byte, overlong form or surrogate.
bool IsUtf8(const char* text);

// POSIX has no active ANSI code page, so the caller picks the one kAnsiCodePage stands for
// (default 1252; any code page iconv knows as "CP<n>", such as 936 or 932). Windows always
// uses the system's and ignores this.
void SetAnsiCodePage(unsigned codePage);

// The code page kAnsiCodePage stands for (GetACP on Windows).
unsigned AnsiCodePage();

}  // namespace platform
