#include "support/json.h"

#include <cstdlib>

namespace checker_test {

namespace {

class Parser {
public:
    explicit Parser(const std::string& text) : text_(text) {}

    bool Value(Json& value, int depth = 0) {
        Skip();
        if (depth > 64 || at_ >= text_.size()) return false;
        const char c = text_[at_];
        if (c == '{') return Object(value, depth);
        if (c == '[') return Array(value, depth);
        if (c == '"') return value.kind = Json::Kind::String, String(value.string);
        if (Literal("true")) return value.kind = Json::Kind::Bool, value.boolean = true, true;
        if (Literal("false")) return value.kind = Json::Kind::Bool, true;
        if (Literal("null")) return true;
        return Number(value);
    }

    bool AtEnd() {
        Skip();
        return at_ == text_.size();
    }

private:
    void Skip() {
        while (at_ < text_.size() &&
               (text_[at_] == ' ' || text_[at_] == '\n' || text_[at_] == '\r' || text_[at_] == '\t'))
            ++at_;
    }
    bool Literal(const char* word) {
        const std::string w(word);
        if (text_.compare(at_, w.size(), w) != 0) return false;
        at_ += w.size();
        return true;
    }
    bool Number(Json& value) {
        const char* start = text_.c_str() + at_;
        char* end = nullptr;
        value.number = std::strtod(start, &end);
        if (end == start || (*start != '-' && (*start < '0' || *start > '9'))) return false;
        at_ += static_cast<std::size_t>(end - start);
        value.kind = Json::Kind::Number;
        return true;
    }
    bool String(std::string& out) {
        ++at_;
        while (at_ < text_.size() && text_[at_] != '"') {
            const auto c = static_cast<unsigned char>(text_[at_]);
            if (c < 0x20) return false;
            if (c != '\\') {
                out += text_[at_++];
                continue;
            }
            if (++at_ >= text_.size()) return false;
            const char e = text_[at_++];
            switch (e) {
                case '"':
                case '\\':
                case '/':
                    out += e;
                    break;
                case 'n':
                    out += '\n';
                    break;
                case 'r':
                    out += '\r';
                    break;
                case 't':
                    out += '\t';
                    break;
                case 'b':
                    out += '\b';
                    break;
                case 'f':
                    out += '\f';
                    break;
                case 'u': {
                    if (at_ + 4 > text_.size()) return false;
                    const unsigned long code = std::strtoul(text_.substr(at_, 4).c_str(), nullptr, 16);
                    at_ += 4;
                    if (code >= 0x80) return false;  // the checker escapes control characters only
                    out += static_cast<char>(code);
                    break;
                }
                default:
                    return false;
            }
        }
        if (at_ >= text_.size()) return false;
        ++at_;
        return true;
    }
    bool Array(Json& value, int depth) {
        value.kind = Json::Kind::Array;
        ++at_;
        Skip();
        if (at_ < text_.size() && text_[at_] == ']') return ++at_, true;
        for (;;) {
            Json item;
            if (!Value(item, depth + 1)) return false;
            value.array.push_back(std::move(item));
            Skip();
            if (at_ >= text_.size()) return false;
            if (text_[at_] == ']') return ++at_, true;
            if (text_[at_++] != ',') return false;
        }
    }
    bool Object(Json& value, int depth) {
        value.kind = Json::Kind::Object;
        ++at_;
        Skip();
        if (at_ < text_.size() && text_[at_] == '}') return ++at_, true;
        for (;;) {
            Skip();
            std::string name;
            if (at_ >= text_.size() || text_[at_] != '"' || !String(name)) return false;
            Skip();
            if (at_ >= text_.size() || text_[at_++] != ':') return false;
            Json member;
            if (!Value(member, depth + 1) || value.object.count(name)) return false;
            value.object.emplace(std::move(name), std::move(member));
            Skip();
            if (at_ >= text_.size()) return false;
            if (text_[at_] == '}') return ++at_, true;
            if (text_[at_++] != ',') return false;
        }
    }

    const std::string& text_;
    std::size_t at_ = 0;
};

}  // namespace

const Json& Json::operator[](const std::string& name) const {
    static const Json null;
    const auto found = object.find(name);
    return found == object.end() ? null : found->second;
}

std::optional<Json> ParseJson(const std::string& text) {
    Parser parser(text);
    Json value;
    if (!parser.Value(value) || !parser.AtEnd()) return std::nullopt;
    return value;
}

}  // namespace checker_test
