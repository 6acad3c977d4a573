// A strict reader of JSON text (RFC 8259) for the tests of the program's
// --json output: anything a JSON parser would refuse, including bytes that
// are not UTF-8, a control character in a string, a trailing comma or text
// after the value, is an error naming its offset.
#pragma once

#include <cstdint>
#include <stdexcept>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

namespace vs::test {

struct Json;
using JsonArrayValue = std::vector<Json>;
// Keys in the order they came, and their values; a key given twice is refused.
struct JsonObjectValue {
    std::vector<std::string> keys;
    std::vector<Json> values;
};

struct Json {
    std::variant<std::nullptr_t, bool, double, std::string, JsonArrayValue, JsonObjectValue> value;

    bool isNull() const { return std::holds_alternative<std::nullptr_t>(value); }
    double number() const { return std::get<double>(value); }
    const std::string& text() const { return std::get<std::string>(value); }
    bool boolean() const { return std::get<bool>(value); }
    const JsonArrayValue& array() const { return std::get<JsonArrayValue>(value); }
    const JsonObjectValue& object() const { return std::get<JsonObjectValue>(value); }
    // The field's value; std::out_of_range when the object lacks it.
    const Json& operator[](std::string_view key) const
    {
        const JsonObjectValue& fields = object();
        for (size_t i = 0; i < fields.keys.size(); ++i)
            if (fields.keys[i] == key)
                return fields.values[i];
        throw std::out_of_range("no field " + std::string(key));
    }
    const std::vector<std::string>& keys() const { return object().keys; }
};

class JsonReader {
public:
    static Json parse(std::string_view text)
    {
        JsonReader reader(text);
        reader.blanks();
        Json value = reader.value(0);
        reader.blanks();
        if (reader.at_ != text.size())
            reader.fail("text after the value");
        return value;
    }

private:
    explicit JsonReader(std::string_view text) : text_(text) {}

    [[noreturn]] void fail(const std::string& what) const
    {
        throw std::runtime_error("JSON: " + what + " at offset " + std::to_string(at_));
    }
    char peek() const { return at_ < text_.size() ? text_[at_] : '\0'; }
    void expect(char c)
    {
        if (peek() != c)
            fail(std::string("expected '") + c + "'");
        ++at_;
    }
    void blanks()
    {
        while (at_ < text_.size() && (text_[at_] == ' ' || text_[at_] == '\t' || text_[at_] == '\n' || text_[at_] == '\r'))
            ++at_;
    }
    bool literal(std::string_view word)
    {
        if (text_.substr(at_, word.size()) != word)
            return false;
        at_ += word.size();
        return true;
    }

    Json value(int depth)
    {
        if (depth > 64)
            fail("nesting too deep");
        const char c = peek();
        if (c == '{')
            return object(depth);
        if (c == '[')
            return array(depth);
        if (c == '"')
            return {string()};
        if (literal("null"))
            return {nullptr};
        if (literal("true"))
            return {true};
        if (literal("false"))
            return {false};
        if (c == '-' || (c >= '0' && c <= '9'))
            return {number()};
        fail("no value");
    }

    Json object(int depth)
    {
        expect('{');
        JsonObjectValue fields;
        blanks();
        if (peek() == '}') {
            ++at_;
            return {std::move(fields)};
        }
        while (true) {
            blanks();
            std::string key = string();
            for (const std::string& known : fields.keys)
                if (known == key)
                    fail("key \"" + key + "\" given twice");
            blanks();
            expect(':');
            blanks();
            fields.keys.push_back(std::move(key));
            fields.values.push_back(value(depth + 1));
            blanks();
            if (peek() == ',') {
                ++at_;
                continue;
            }
            expect('}');
            return {std::move(fields)};
        }
    }

    Json array(int depth)
    {
        expect('[');
        JsonArrayValue items;
        blanks();
        if (peek() == ']') {
            ++at_;
            return {std::move(items)};
        }
        while (true) {
            blanks();
            items.push_back(value(depth + 1));
            blanks();
            if (peek() == ',') {
                ++at_;
                continue;
            }
            expect(']');
            return {std::move(items)};
        }
    }

    double number()
    {
        const size_t start = at_;
        auto digits = [&] {
            const size_t from = at_;
            while (peek() >= '0' && peek() <= '9')
                ++at_;
            if (at_ == from)
                fail("a digit expected");
        };
        if (peek() == '-')
            ++at_;
        if (peek() == '0')
            ++at_;
        else
            digits();
        if (peek() == '.') {
            ++at_;
            digits();
        }
        if (peek() == 'e' || peek() == 'E') {
            ++at_;
            if (peek() == '+' || peek() == '-')
                ++at_;
            digits();
        }
        return std::stod(std::string(text_.substr(start, at_ - start)));
    }

    static void appendUtf8(std::string& out, uint32_t code)
    {
        if (code < 0x80) {
            out += static_cast<char>(code);
        } else if (code < 0x800) {
            out += static_cast<char>(0xC0 | (code >> 6));
            out += static_cast<char>(0x80 | (code & 0x3F));
        } else if (code < 0x10000) {
            out += static_cast<char>(0xE0 | (code >> 12));
            out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
            out += static_cast<char>(0x80 | (code & 0x3F));
        } else {
            out += static_cast<char>(0xF0 | (code >> 18));
            out += static_cast<char>(0x80 | ((code >> 12) & 0x3F));
            out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
            out += static_cast<char>(0x80 | (code & 0x3F));
        }
    }

    uint32_t hex4()
    {
        uint32_t code = 0;
        for (int i = 0; i < 4; ++i) {
            const char c = peek();
            const int digit = c >= '0' && c <= '9' ? c - '0'
                              : c >= 'a' && c <= 'f' ? c - 'a' + 10
                              : c >= 'A' && c <= 'F' ? c - 'A' + 10
                                                     : -1;
            if (digit < 0)
                fail("a hexadecimal digit expected");
            code = code * 16 + static_cast<uint32_t>(digit);
            ++at_;
        }
        return code;
    }

    // One UTF-8 sequence of the raw text, checked: no overlong form, no
    // surrogate, nothing above U+10FFFF.
    void utf8(std::string& out)
    {
        const auto lead = static_cast<unsigned char>(text_[at_]);
        const int length = lead >= 0xC2 && lead <= 0xDF   ? 2
                           : lead >= 0xE0 && lead <= 0xEF ? 3
                           : lead >= 0xF0 && lead <= 0xF4 ? 4
                                                          : 0;
        if (length == 0)
            fail("a byte that starts no UTF-8 character");
        uint32_t code = lead & (0xFF >> (length + 1));
        for (int i = 1; i < length; ++i) {
            if (at_ + i >= text_.size() || (static_cast<unsigned char>(text_[at_ + i]) & 0xC0) != 0x80)
                fail("a UTF-8 character cut short");
            code = (code << 6) | (static_cast<unsigned char>(text_[at_ + i]) & 0x3F);
        }
        if ((length == 3 && code < 0x800) || (length == 4 && (code < 0x10000 || code > 0x10FFFF)) ||
            (code >= 0xD800 && code <= 0xDFFF))
            fail("an invalid UTF-8 character");
        out.append(text_.substr(at_, static_cast<size_t>(length)));
        at_ += static_cast<size_t>(length);
    }

    std::string string()
    {
        expect('"');
        std::string out;
        while (true) {
            if (at_ >= text_.size())
                fail("a string not closed");
            const auto c = static_cast<unsigned char>(text_[at_]);
            if (c == '"') {
                ++at_;
                return out;
            }
            if (c < 0x20)
                fail("a control character in a string");
            if (c >= 0x80) {
                utf8(out);
                continue;
            }
            ++at_;
            if (c != '\\') {
                out += static_cast<char>(c);
                continue;
            }
            const char escape = peek();
            ++at_;
            switch (escape) {
            case '"': out += '"'; break;
            case '\\': out += '\\'; break;
            case '/': out += '/'; break;
            case 'b': out += '\b'; break;
            case 'f': out += '\f'; break;
            case 'n': out += '\n'; break;
            case 'r': out += '\r'; break;
            case 't': out += '\t'; break;
            case 'u': {
                uint32_t code = hex4();
                if (code >= 0xD800 && code <= 0xDBFF) {
                    if (!literal("\\u"))
                        fail("a lone surrogate");
                    const uint32_t low = hex4();
                    if (low < 0xDC00 || low > 0xDFFF)
                        fail("a lone surrogate");
                    code = 0x10000 + ((code - 0xD800) << 10) + (low - 0xDC00);
                } else if (code >= 0xDC00 && code <= 0xDFFF) {
                    fail("a lone surrogate");
                }
                appendUtf8(out, code);
                break;
            }
            default:
                fail("an unknown escape");
            }
        }
    }

    std::string_view text_;
    size_t at_ = 0;
};

}  // namespace vs::test
