#include "catalog/token_value.h"

#include "catalog/text_utils.h"
#include "catalog/vault_error.h"

#include <charconv>
#include <cmath>
#include <limits>

namespace vs {

namespace {

bool isSkipped(char c)
{
    return c == ' ' || c == '\t' || c == '\n';
}

// Walks the text, skipping the blanks the rule ignores.
class Cursor {
public:
    explicit Cursor(std::string_view text) : text_(text) { skip(); }
    bool atEnd() const { return pos_ >= text_.size(); }
    char peek() const { return atEnd() ? '\0' : text_[pos_]; }
    void advance()
    {
        ++pos_;
        skip();
    }

private:
    void skip()
    {
        while (pos_ < text_.size() && isSkipped(text_[pos_]))
            ++pos_;
    }
    std::string_view text_;
    size_t pos_ = 0;
};

int digitValue(char c, int base)
{
    const int v = hexDigitValue(c);
    return v < base ? v : -1;
}

double readRadix(Cursor& cur, int base)
{
    double value = 0;
    for (int d; (d = digitValue(cur.peek(), base)) >= 0; cur.advance())
        value = value * base + d;
    return value;
}

double readDecimal(Cursor& cur)
{
    std::string number;
    if (cur.peek() == '+' || cur.peek() == '-') {
        number += cur.peek();
        cur.advance();
    }
    long long integerDigits = 0;  // significant digits before the point
    bool anyDigit = false;
    while (digitValue(cur.peek(), 10) >= 0) {
        if (integerDigits > 0 || cur.peek() != '0')
            ++integerDigits;
        number += cur.peek();
        anyDigit = true;
        cur.advance();
    }
    if (cur.peek() == '.') {
        number += '.';
        cur.advance();
        while (digitValue(cur.peek(), 10) >= 0) {
            number += cur.peek();
            anyDigit = true;
            cur.advance();
        }
    }
    if (!anyDigit)
        return 0;
    long long exponent = 0;
    if (cur.peek() == 'e' || cur.peek() == 'E') {
        // Taken only when digits follow, so "1e" and "1e+" read as 1.
        Cursor probe = cur;
        probe.advance();
        std::string expText = "e";
        bool negative = false;
        if (probe.peek() == '+' || probe.peek() == '-') {
            negative = probe.peek() == '-';
            expText += probe.peek();
            probe.advance();
        }
        if (digitValue(probe.peek(), 10) >= 0) {
            while (digitValue(probe.peek(), 10) >= 0) {
                expText += probe.peek();
                if (exponent < 100000)
                    exponent = exponent * 10 + (probe.peek() - '0');
                probe.advance();
            }
            if (negative)
                exponent = -exponent;
            number += expText;
            cur = probe;
        }
    }
    const char* first = number.data();
    if (*first == '+')
        ++first;
    double value = 0;
    auto [end, ec] = std::from_chars(first, number.data() + number.size(), value);
    (void)end;
    if (ec == std::errc::result_out_of_range) {
        // Beyond a double's range: too large becomes infinity, too small zero.
        bool huge = integerDigits + exponent > 0;
        bool negative = number[0] == '-';
        if (!huge)
            return negative ? -0.0 : 0.0;
        return negative ? -std::numeric_limits<double>::infinity()
                        : std::numeric_limits<double>::infinity();
    }
    return value;
}

template <typename Int>
Int toChecked(double value, std::string_view what)
{
    double rounded = roundHalfEven(value);
    if (!(rounded >= static_cast<double>(std::numeric_limits<Int>::min()) &&
          rounded <= static_cast<double>(std::numeric_limits<Int>::max()))) {
        std::string detail = what.empty() ? std::string() : std::string(what) + " ";
        throw VaultError(ErrorKind::NumberTooLarge, detail + formatNumber(value));
    }
    return static_cast<Int>(rounded);
}

}  // namespace

double tokenValue(std::string_view text)
{
    Cursor cur(text);
    if (cur.peek() == '&') {
        Cursor probe = cur;
        probe.advance();
        char radix = probe.peek();
        if (radix == 'H' || radix == 'h') {
            probe.advance();
            return readRadix(probe, 16);
        }
        if (radix == 'O' || radix == 'o') {
            probe.advance();
            return readRadix(probe, 8);
        }
        return 0;
    }
    return readDecimal(cur);
}

double roundHalfEven(double value)
{
    if (!std::isfinite(value))
        return value;
    double floor = std::floor(value);
    double diff = value - floor;
    if (diff < 0.5)
        return floor;
    if (diff > 0.5)
        return floor + 1;
    return std::fmod(floor, 2.0) == 0 ? floor : floor + 1;
}

int16_t toInt16(double value, std::string_view what)
{
    return toChecked<int16_t>(value, what);
}

int32_t toInt32(double value, std::string_view what)
{
    return toChecked<int32_t>(value, what);
}

std::string formatNumber(double value)
{
    if (std::isinf(value))
        return value > 0 ? "a number beyond any field" : "a negative number beyond any field";
    if (value == std::floor(value) && std::fabs(value) < 1e15)
        return std::to_string(static_cast<long long>(value));
    char buffer[64];
    auto [end, ec] = std::to_chars(buffer, buffer + sizeof buffer, value);
    return ec == std::errc() ? std::string(buffer, end) : std::string("?");
}

}  // namespace vs
