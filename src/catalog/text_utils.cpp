#include "catalog/text_utils.h"

#include "catalog/vault_error.h"

namespace vs {

TokenList readData(std::string_view str)
{
    TokenList tokens;
    forEachToken(str, [&](std::string_view token) { tokens.emplace_back(token); });
    return tokens;
}

void cutArrExcess(TokenList& arr, int length)
{
    if (length < 1)
        throw VaultError(ErrorKind::IndexOutOfTable, "list length " + std::to_string(length));
    TokenList fitted(static_cast<size_t>(length));
    size_t next = 0;
    for (const std::string& element : arr) {
        if (next == fitted.size())
            break;
        if (!element.empty())
            fitted[next++] = element;
    }
    arr = std::move(fitted);
}

std::string strGetUntil(std::string_view str, std::string_view tag, int dir)
{
    if (tag.size() != 1)
        return std::string(str);
    if (dir == 1) {
        size_t at = str.find(tag[0]);
        return std::string(at == std::string_view::npos ? str : str.substr(0, at));
    }
    if (dir == -1) {
        size_t at = str.rfind(tag[0]);
        return std::string(at == std::string_view::npos ? str : str.substr(at + 1));
    }
    return std::string(str);
}

std::string strPadPattern(std::string_view str, std::string_view pattern, int length, int align)
{
    if (length < 0 || str.size() >= static_cast<size_t>(length))
        return std::string(str);
    if (pattern.empty())
        throw VaultError(ErrorKind::DivisionByZero, "empty padding pattern");
    const size_t missing = static_cast<size_t>(length) - str.size();
    std::string padding;
    for (size_t i = 0; i < missing; ++i)
        padding += pattern[i % pattern.size()];
    if (align == 0)
        return std::string(padding.rbegin(), padding.rend()) + std::string(str);
    if (align == 1)
        return std::string(str) + padding;
    return std::string(str);
}

std::string strPadLeft(std::string_view str, std::string_view pattern, int length)
{
    return strPadPattern(str, pattern, length, 0);
}

std::string strPadRight(std::string_view str, std::string_view pattern, int length)
{
    return strPadPattern(str, pattern, length, 1);
}

std::string padHexLeft(std::string_view str, int length)
{
    return strPadPattern(str, "0", length, 0);
}

std::string padHexRight(std::string_view str, int length)
{
    return strPadPattern(str, "0", length, 1);
}

std::string strRight(std::string_view str, int length)
{
    if (length >= 0) {
        size_t keep = std::min(str.size(), static_cast<size_t>(length));
        return std::string(str.substr(str.size() - keep));
    }
    size_t drop = static_cast<size_t>(-static_cast<long long>(length));
    if (drop > str.size())
        throw VaultError(ErrorKind::InvalidArgument,
                         "cannot drop " + std::to_string(drop) + " characters of a text of " +
                             std::to_string(str.size()));
    return std::string(str.substr(drop));
}

bool strAreEqual(std::string_view str1, std::string_view str2)
{
    return str1 == str2;
}

int16_t makeId(int c, int t)
{
    long long id = static_cast<long long>(c) * 32 + t;
    if (id < INT16_MIN || id > INT16_MAX)
        throw VaultError(ErrorKind::NumberTooLarge,
                         "item id of class " + std::to_string(c) + ", index " + std::to_string(t));
    return static_cast<int16_t>(id);
}

std::string toLowerAscii(std::string_view str)
{
    std::string lower(str);
    lowerAsciiInPlace(lower);
    return lower;
}

void lowerAsciiInPlace(std::string& str)
{
    for (char& c : str)
        if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c - 'A' + 'a');
}

std::string_view stripLeadingBlanks(std::string_view str)
{
    size_t first = str.find_first_not_of(" \t");
    return first == std::string_view::npos ? std::string_view{} : str.substr(first);
}

bool isDecimalDigit(char c)
{
    return c >= '0' && c <= '9';
}

int hexDigitValue(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    return -1;
}

std::string notTextReason(std::string_view bytes)
{
    size_t control = 0;
    for (unsigned char c : bytes) {
        if (c == 0)
            return "it holds NUL bytes";
        if ((c < 0x20 && c != '\t' && c != '\r' && c != '\n') || c == 0x7F)
            ++control;
    }
    if (control > 0 && control * 3 > bytes.size())
        return "most of its bytes are control bytes";
    return {};
}

std::string escapeControlBytes(std::string_view text)
{
    static const char* const kHex = "0123456789ABCDEF";
    std::string shown;
    shown.reserve(text.size());
    for (unsigned char c : text) {
        if ((c < 0x20 && c != '\t') || c == 0x7F) {
            shown += "\\x";
            shown += kHex[c >> 4];
            shown += kHex[c & 15];
        } else {
            shown += static_cast<char>(c);
        }
    }
    return shown;
}

}  // namespace vs
