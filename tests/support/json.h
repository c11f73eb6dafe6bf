#pragma once
// Just enough JSON reading to check what the CLI prints.

#include <cstdlib>
#include <map>
#include <memory>
#include <sstream>
#include <stdexcept>
#include <string>
#include <vector>

namespace brisolt::testing {

struct Json {
    enum class Kind { Null, Bool, Number, String, Array, Object } kind = Kind::Null;
    bool boolean = false;
    long double number = 0;
    std::string text; // the string, or a number's digits as written
    std::vector<Json> items;
    std::map<std::string, Json> members;

    const Json& operator[](const std::string& key) const {
        const auto it = members.find(key);
        if (it == members.end()) {
            throw std::out_of_range("no member " + key);
        }
        return it->second;
    }
    bool Has(const std::string& key) const { return members.count(key) != 0; }
    bool IsNull() const { return kind == Kind::Null; }
};

class JsonReader {
public:
    explicit JsonReader(const std::string& text) : s_(text) {}

    Json Read() {
        Json value = Value();
        Space();
        if (i_ != s_.size()) {
            Fail("trailing data");
        }
        return value;
    }

private:
    [[noreturn]] void Fail(const std::string& what) const {
        throw std::runtime_error("JSON: " + what + " at " + std::to_string(i_));
    }
    void Space() {
        while (i_ < s_.size() &&
               (s_[i_] == ' ' || s_[i_] == '\n' || s_[i_] == '\r' || s_[i_] == '\t')) {
            ++i_;
        }
    }
    void Expect(char c) {
        Space();
        if (i_ >= s_.size() || s_[i_] != c) {
            Fail(std::string("expected ") + c);
        }
        ++i_;
    }
    bool Literal(const char* word) {
        const std::string w(word);
        if (s_.compare(i_, w.size(), w) == 0) {
            i_ += w.size();
            return true;
        }
        return false;
    }
    std::string String() {
        Expect('"');
        std::string out;
        while (i_ < s_.size() && s_[i_] != '"') {
            char c = s_[i_++];
            if (static_cast<unsigned char>(c) < 0x20) {
                Fail("raw control character");
            }
            if (c != '\\') {
                out.push_back(c);
                continue;
            }
            c = s_.at(i_++);
            switch (c) {
            case 'n':
                out.push_back('\n');
                break;
            case 'r':
                out.push_back('\r');
                break;
            case 't':
                out.push_back('\t');
                break;
            case 'b':
                out.push_back('\b');
                break;
            case 'f':
                out.push_back('\f');
                break;
            case 'u': {
                const unsigned cp =
                    static_cast<unsigned>(std::stoul(s_.substr(i_, 4), nullptr, 16));
                i_ += 4;
                if (cp < 0x80) {
                    out.push_back(static_cast<char>(cp));
                } else if (cp < 0x800) {
                    out.push_back(static_cast<char>(0xC0 | (cp >> 6)));
                    out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
                } else {
                    out.push_back(static_cast<char>(0xE0 | (cp >> 12)));
                    out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
                    out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
                }
                break;
            }
            default:
                out.push_back(c);
            }
        }
        Expect('"');
        return out;
    }
    Json Value() {
        Space();
        Json v;
        if (i_ >= s_.size()) {
            Fail("unexpected end");
        }
        const char c = s_[i_];
        if (c == '{') {
            v.kind = Json::Kind::Object;
            ++i_;
            Space();
            if (s_.at(i_) == '}') {
                ++i_;
                return v;
            }
            do {
                const std::string key = String();
                Expect(':');
                v.members[key] = Value();
                Space();
            } while (s_.at(i_) == ',' && ++i_);
            Expect('}');
        } else if (c == '[') {
            v.kind = Json::Kind::Array;
            ++i_;
            Space();
            if (s_.at(i_) == ']') {
                ++i_;
                return v;
            }
            do {
                v.items.push_back(Value());
                Space();
            } while (s_.at(i_) == ',' && ++i_);
            Expect(']');
        } else if (c == '"') {
            v.kind = Json::Kind::String;
            v.text = String();
        } else if (Literal("true")) {
            v.kind = Json::Kind::Bool;
            v.boolean = true;
        } else if (Literal("false")) {
            v.kind = Json::Kind::Bool;
        } else if (Literal("null")) {
            v.kind = Json::Kind::Null;
        } else {
            v.kind = Json::Kind::Number;
            const std::size_t start = i_;
            while (i_ < s_.size() &&
                   std::string("+-0123456789.eE").find(s_[i_]) != std::string::npos) {
                ++i_;
            }
            v.text = s_.substr(start, i_ - start);
            if (v.text.empty()) {
                Fail("bad value");
            }
            v.number = std::strtold(v.text.c_str(), nullptr);
        }
        return v;
    }

    const std::string& s_;
    std::size_t i_ = 0;
};

inline Json ParseJson(const std::string& text) {
    return JsonReader(text).Read();
}

// One JSON value per line, as the CLI writes its rows.
inline std::vector<Json> ParseJsonLines(const std::string& text) {
    std::vector<Json> out;
    std::istringstream lines(text);
    for (std::string line; std::getline(lines, line);) {
        out.push_back(ParseJson(line));
    }
    return out;
}

} // namespace brisolt::testing
