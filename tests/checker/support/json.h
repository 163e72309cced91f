#pragma once

#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

// A small strict JSON reader, so that tests can read the checker's JSON back.
namespace checker_test {

struct Json {
    enum class Kind { Null, Bool, Number, String, Array, Object } kind = Kind::Null;
    bool boolean = false;
    double number = 0;
    std::string string;
    std::vector<Json> array;
    std::map<std::string, Json> object;

    const Json& operator[](const std::string& name) const;  // Null when absent
};

// Nothing when `text` is not one well-formed JSON value (with nothing after it).
std::optional<Json> ParseJson(const std::string& text);

}  // namespace checker_test
