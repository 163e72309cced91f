#include <windows.h>

#include <vector>

#include "platform/text.h"

namespace platform {

std::wstring MultiByteToWide(const char* text, unsigned codePage) {
    const int needed = MultiByteToWideChar(codePage, 0, text, -1, nullptr, 0);
    if (needed <= 0) return {};
    std::vector<wchar_t> buffer(static_cast<std::size_t>(needed) + 1, L'\0');
    MultiByteToWideChar(codePage, 0, text, -1, buffer.data(), needed);
    return std::wstring(buffer.data());
}

std::string WideToMultiByte(const wchar_t* text, unsigned codePage) {
    const int needed = WideCharToMultiByte(codePage, 0, text, -1, nullptr, 0, nullptr, nullptr);
    if (needed <= 0) return {};
    std::vector<char> buffer(static_cast<std::size_t>(needed) + 1, '\0');
    WideCharToMultiByte(codePage, 0, text, -1, buffer.data(), needed, nullptr, nullptr);
    return std::string(buffer.data());
}

bool IsUtf8(const char* text) { return MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, text, -1, nullptr, 0) > 0; }

void SetAnsiCodePage(unsigned) {}

unsigned AnsiCodePage() { return GetACP(); }

}  // namespace platform
