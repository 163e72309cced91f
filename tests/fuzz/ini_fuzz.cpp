// The language file reader: input is a key, a line end, then the file's bytes. The value
// found is decoded as the interface does it.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "config/ini_reader.h"
#include "config/language_file.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view input(reinterpret_cast<const char*>(data), size);
    const std::size_t split = input.find('\n');
    const std::string key(input.substr(0, split));
    const std::string_view text = split == std::string_view::npos ? std::string_view{} : input.substr(split + 1);

    const std::string value = FindIniValue(text, kLanguageSection, key);
    if (value.size() > kMaxIniValueBytes) std::abort();
    const std::wstring wide = Utf8ToWide(value.c_str());
    if (wide.size() > value.size()) std::abort();
    Utf8ToAnsi(value.c_str());
    // The whole input as text too: every byte sequence must convert without harm.
    const std::string whole(input);
    Utf8ToAnsi(whole.c_str());
    return 0;
}
