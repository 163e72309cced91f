#include <iconv.h>

#include <atomic>
#include <cerrno>
#include <cstring>

#include "platform/text.h"
#include "platform/unique_handle.h"

namespace platform {

namespace {

std::atomic<unsigned> g_ansiCodePage{1252};

constexpr char32_t kReplacement = 0xFFFD;
constexpr char kDefaultChar = '?';

unsigned Resolve(unsigned codePage) { return codePage == kAnsiCodePage ? g_ansiCodePage.load() : codePage; }

// Decodes UTF-8 the way Windows does without MB_ERR_INVALID_CHARS: every maximal
// ill-formed subsequence (stray byte, overlong form, surrogate, truncated sequence) becomes
// one U+FFFD.
std::wstring DecodeUtf8(const unsigned char* text) {
    std::wstring out;
    std::size_t i = 0;
    while (text[i] != 0) {
        const unsigned char lead = text[i];
        if (lead < 0x80) {
            out.push_back(static_cast<wchar_t>(lead));
            ++i;
            continue;
        }
        int length = 0;
        char32_t code = 0;
        unsigned char low = 0x80, high = 0xBF;  // allowed range of the second byte
        if (lead >= 0xC2 && lead <= 0xDF) {
            length = 2, code = lead & 0x1F;
        } else if (lead >= 0xE0 && lead <= 0xEF) {
            length = 3, code = lead & 0x0F;
            if (lead == 0xE0) low = 0xA0;
            if (lead == 0xED) high = 0x9F;
        } else if (lead >= 0xF0 && lead <= 0xF4) {
            length = 4, code = lead & 0x07;
            if (lead == 0xF0) low = 0x90;
            if (lead == 0xF4) high = 0x8F;
        }
        ++i;
        int taken = 1;
        for (; taken < length; ++taken) {
            const unsigned char next = text[i];
            const unsigned char from = taken == 1 ? low : 0x80, to = taken == 1 ? high : 0xBF;
            if (next < from || next > to) break;  // also stops at the terminator
            code = (code << 6) | (next & 0x3F);
            ++i;
        }
        out.push_back(static_cast<wchar_t>(length != 0 && taken == length ? code : kReplacement));
    }
    return out;
}

void AppendUtf8(std::string& out, char32_t code) {
    if (code < 0x80) {
        out.push_back(static_cast<char>(code));
    } else if (code < 0x800) {
        out.push_back(static_cast<char>(0xC0 | (code >> 6)));
        out.push_back(static_cast<char>(0x80 | (code & 0x3F)));
    } else if (code < 0x10000) {
        out.push_back(static_cast<char>(0xE0 | (code >> 12)));
        out.push_back(static_cast<char>(0x80 | ((code >> 6) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (code & 0x3F)));
    } else {
        out.push_back(static_cast<char>(0xF0 | (code >> 18)));
        out.push_back(static_cast<char>(0x80 | ((code >> 12) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | ((code >> 6) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (code & 0x3F)));
    }
}

// Surrogate pairs are joined (text may come from a UTF-16 source); lone surrogates and
// values beyond Unicode become U+FFFD, as on Windows.
std::string EncodeUtf8(const wchar_t* text) {
    std::string out;
    for (std::size_t i = 0; text[i] != 0; ++i) {
        char32_t code = static_cast<char32_t>(text[i]);
        if (code >= 0xD800 && code <= 0xDBFF && text[i + 1] >= 0xDC00 && text[i + 1] <= 0xDFFF) {
            code = 0x10000 + ((code - 0xD800) << 10) + (static_cast<char32_t>(text[i + 1]) - 0xDC00);
            ++i;
        } else if ((code >= 0xD800 && code <= 0xDFFF) || code > 0x10FFFF) {
            code = kReplacement;
        }
        AppendUtf8(out, code);
    }
    return out;
}

struct IconvCloser {
    void operator()(iconv_t handle) const noexcept { iconv_close(handle); }
};
struct InvalidIconv {
    static iconv_t Value() noexcept { return reinterpret_cast<iconv_t>(-1); }
};
// iconv_open's conversion descriptor, which is (iconv_t)-1 on failure.
using Converter = UniqueHandle<iconv_t, IconvCloser, InvalidIconv>;

std::string CodePageName(unsigned codePage) { return "CP" + std::to_string(codePage); }

std::wstring DecodeCodePage(const char* text, unsigned codePage) {
    const Converter converter(iconv_open("WCHAR_T", CodePageName(codePage).c_str()));
    std::wstring out;
    std::size_t inLeft = std::strlen(text);
    char* in = const_cast<char*>(text);
    if (!converter) {  // a code page iconv does not know: ASCII only
        for (; *in; ++in) {
            out.push_back(static_cast<unsigned char>(*in) < 0x80 ? static_cast<wchar_t>(*in)
                                                                 : static_cast<wchar_t>(kReplacement));
        }
        return out;
    }
    while (inLeft > 0) {
        wchar_t chunk[256];
        char* outPtr = reinterpret_cast<char*>(chunk);
        std::size_t outLeft = sizeof chunk;
        const std::size_t result = iconv(converter.Get(), &in, &inLeft, &outPtr, &outLeft);
        out.append(chunk, static_cast<std::size_t>(outPtr - reinterpret_cast<char*>(chunk)) / sizeof(wchar_t));
        if (result == static_cast<std::size_t>(-1) && errno != E2BIG) {
            out.push_back(static_cast<wchar_t>(kReplacement));  // undefined or truncated byte sequence
            ++in;
            --inLeft;
        }
    }
    return out;
}

// One character at a time, so that each character the code page lacks becomes one default
// character per UTF-16 unit.
std::string EncodeCodePage(const wchar_t* text, unsigned codePage) {
    const Converter converter(iconv_open(CodePageName(codePage).c_str(), "WCHAR_T"));
    std::string out;
    for (std::size_t i = 0; text[i] != 0; ++i) {
        wchar_t character = text[i];
        char bytes[8];
        char* in = reinterpret_cast<char*>(&character);
        std::size_t inLeft = sizeof character;
        char* outPtr = bytes;
        std::size_t outLeft = sizeof bytes;
        bool converted = false;
        if (converter) {
            converted = iconv(converter.Get(), &in, &inLeft, &outPtr, &outLeft) != static_cast<std::size_t>(-1);
            if (!converted) iconv(converter.Get(), nullptr, nullptr, nullptr, nullptr);
        } else if (character < 0x80) {  // a code page iconv does not know: ASCII only
            *outPtr++ = static_cast<char>(character);
            converted = true;
        }
        if (converted && outPtr != bytes) {
            out.append(bytes, static_cast<std::size_t>(outPtr - bytes));
        } else {
            // Windows sees a character beyond U+FFFF as two UTF-16 units, each one unknown.
            out.append(character > 0xFFFF ? 2 : 1, kDefaultChar);
        }
    }
    return out;
}

}  // namespace

std::wstring MultiByteToWide(const char* text, unsigned codePage) {
    codePage = Resolve(codePage);
    if (codePage == kUtf8CodePage) return DecodeUtf8(reinterpret_cast<const unsigned char*>(text));
    return DecodeCodePage(text, codePage);
}

std::string WideToMultiByte(const wchar_t* text, unsigned codePage) {
    codePage = Resolve(codePage);
    if (codePage == kUtf8CodePage) return EncodeUtf8(text);
    return EncodeCodePage(text, codePage);
}

bool IsUtf8(const char* text) {
    // Each ill-formed piece decodes to U+FFFD, which encodes to other bytes than it came from.
    return EncodeUtf8(DecodeUtf8(reinterpret_cast<const unsigned char*>(text)).c_str()) == text;
}

void SetAnsiCodePage(unsigned codePage) { g_ansiCodePage = codePage == kAnsiCodePage ? 1252 : codePage; }

unsigned AnsiCodePage() { return g_ansiCodePage; }

}  // namespace platform
