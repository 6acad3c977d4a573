#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

// Text helpers shared by every reader of text. Texts are byte strings: one byte
// is one character of the single-byte code page, positions count bytes.
namespace vs {

using TokenList = std::vector<std::string>;

// Splits at runs of spaces and tabs outside double quotes; the quotes stay in
// their token, and no token is empty.
TokenList readData(std::string_view str);

// The same tokens as readData, each handed to `each` as a view into `str`.
template <typename Each>
void forEachToken(std::string_view str, Each&& each)
{
    bool inQuote = false;
    size_t start = 0;
    for (size_t i = 0; i < str.size(); ++i) {
        const char c = str[i];
        if (c == '"')
            inQuote = !inQuote;
        else if ((c == ' ' || c == '\t') && !inQuote) {
            if (i > start)
                each(str.substr(start, i - start));
            start = i + 1;
        }
    }
    if (str.size() > start)
        each(str.substr(start));
}

// Keeps the first `length` non-empty elements, padding with empty ones.
// A length below 1 throws IndexOutOfTable.
void cutArrExcess(TokenList& arr, int length);

// dir 1: the text before the first `tag`; dir -1: the text after the last one.
// Without a match the whole text. A tag that is not exactly one character never matches.
std::string strGetUntil(std::string_view str, std::string_view tag, int dir);

// Pads `str` to `length` with `pattern` used cyclically; align 0 puts each new
// character in front, 1 behind. Never shortens. An empty pattern throws
// DivisionByZero when padding is needed.
std::string strPadPattern(std::string_view str, std::string_view pattern, int length, int align);
std::string strPadLeft(std::string_view str, std::string_view pattern, int length);
std::string strPadRight(std::string_view str, std::string_view pattern, int length);
std::string padHexLeft(std::string_view str, int length);
std::string padHexRight(std::string_view str, int length);

// length >= 0: the last `length` characters; length < 0: all but the first
// -length characters (InvalidArgument when the text is shorter than that).
std::string strRight(std::string_view str, int length);

bool strAreEqual(std::string_view str1, std::string_view str2);

// Item id c * 32 + t in 16-bit arithmetic; NumberTooLarge outside it.
int16_t makeId(int c, int t);

// Maps A..Z to a..z and leaves every other byte as it is.
std::string toLowerAscii(std::string_view str);
void lowerAsciiInPlace(std::string& str);

// The text without its leading spaces and tabs.
std::string_view stripLeadingBlanks(std::string_view str);

// Why bytes are no text file, or empty when they may be one: they hold a NUL
// byte, or over a third of them are control bytes other than tab and line ends.
std::string notTextReason(std::string_view bytes);

// The text with each control byte (but tab) written as \xNN, so that printing
// it cannot move a terminal's cursor or hide what follows.
std::string escapeControlBytes(std::string_view text);

bool isDecimalDigit(char c);

// The value of a hexadecimal digit in either case, or -1.
int hexDigitValue(char c);

}  // namespace vs
