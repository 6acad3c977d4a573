#include "catalog/text_encoding.h"

#include "catalog/text_utils.h"

#include <algorithm>
#include <cerrno>
#include <iconv.h>
#include <map>
#include <utility>

namespace vs {

namespace {

constexpr std::string_view kReplacement = "\xEF\xBF\xBD";  // U+FFFD in UTF-8

// Length of the well-formed UTF-8 sequence at the start of `s`, or 0 when
// none starts there (a stray continuation byte, an overlong form, a surrogate,
// a code point above U+10FFFF or a sequence cut short).
size_t utf8SequenceLength(std::string_view s)
{
    if (s.empty())
        return 0;
    const auto byte = [&](size_t i) { return static_cast<unsigned char>(s[i]); };
    const unsigned char lead = byte(0);
    if (lead < 0x80)
        return 1;
    size_t length = 0;
    unsigned char secondLow = 0x80, secondHigh = 0xBF;
    if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3;
        if (lead == 0xE0)
            secondLow = 0xA0;  // below is overlong
        else if (lead == 0xED)
            secondHigh = 0x9F;  // above are the surrogates
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4;
        if (lead == 0xF0)
            secondLow = 0x90;  // below is overlong
        else if (lead == 0xF4)
            secondHigh = 0x8F;  // above is beyond U+10FFFF
    } else {
        return 0;
    }
    if (s.size() < length || byte(1) < secondLow || byte(1) > secondHigh)
        return 0;
    for (size_t i = 2; i < length; ++i)
        if (byte(i) < 0x80 || byte(i) > 0xBF)
            return 0;
    return length;
}

bool isAscii(std::string_view s)
{
    return std::all_of(s.begin(), s.end(), [](char c) { return static_cast<unsigned char>(c) < 0x80; });
}

bool isWellFormedUtf8(std::string_view s)
{
    for (size_t at = 0; at < s.size();) {
        size_t length = utf8SequenceLength(s.substr(at));
        if (length == 0)
            return false;
        at += length;
    }
    return true;
}

// iconv handles opened on first use and kept for the life of the program, so
// that texts converted one row at a time do not open a converter each time.
// Not thread-safe: the program converts from one thread.
class ConverterCache {
public:
    ConverterCache() = default;
    ConverterCache(const ConverterCache&) = delete;
    ConverterCache& operator=(const ConverterCache&) = delete;
    ~ConverterCache()
    {
        for (auto& [key, cd] : handles_)
            if (cd != invalid())
                iconv_close(cd);
    }

    // A converter reset to its initial state, or invalid() when iconv does
    // not know the pair.
    iconv_t get(const std::string& to, const std::string& from)
    {
        auto [it, added] = handles_.try_emplace({to, from}, invalid());
        if (added)
            it->second = iconv_open(to.c_str(), from.c_str());
        if (it->second != invalid())
            iconv(it->second, nullptr, nullptr, nullptr, nullptr);
        return it->second;
    }

    static iconv_t invalid() { return reinterpret_cast<iconv_t>(-1); }

private:
    std::map<std::pair<std::string, std::string>, iconv_t> handles_;
};

ConverterCache& converters()
{
    static ConverterCache cache;
    return cache;
}

// Runs `cd` over the whole input. At a sequence it cannot convert it calls
// `onBad` with the offset of that byte: returning true skips the byte and goes
// on, false stops the conversion (the result is then nullopt).
template <typename OnBad>
std::optional<std::string> convert(iconv_t cd, std::string_view input, OnBad onBad)
{
    std::string out;
    out.reserve(input.size() + input.size() / 2 + 16);
    char* in = const_cast<char*>(input.data());
    size_t inLeft = input.size();
    char buffer[4096];
    while (inLeft > 0) {
        char* o = buffer;
        size_t oLeft = sizeof buffer;
        const size_t result = iconv(cd, &in, &inLeft, &o, &oLeft);
        out.append(buffer, static_cast<size_t>(o - buffer));
        if (result != static_cast<size_t>(-1))
            continue;
        if (errno == E2BIG)
            continue;
        // EILSEQ, or EINVAL for a sequence cut short at the end.
        if (!onBad(out, static_cast<size_t>(in - input.data())))
            return std::nullopt;
        ++in;
        --inLeft;
        iconv(cd, nullptr, nullptr, nullptr, nullptr);
    }
    return out;
}

std::string decodeUtf8(std::string_view bytes)
{
    std::string out;
    out.reserve(bytes.size());
    for (size_t at = 0; at < bytes.size();) {
        size_t length = utf8SequenceLength(bytes.substr(at));
        if (length == 0) {
            out += kReplacement;
            ++at;
        } else {
            out.append(bytes.substr(at, length));
            at += length;
        }
    }
    return out;
}

}  // namespace

bool isUtf8WithHighBytes(std::string_view bytes)
{
    return !isAscii(bytes) && isWellFormedUtf8(bytes);
}

TextEncoding::TextEncoding(std::string id, std::string label, std::string iconvName)
    : id_(std::move(id)), label_(std::move(label)), iconvName_(std::move(iconvName))
{
}

bool TextEncoding::isUtf8() const
{
    return iconvName_ == "UTF-8";
}

const std::vector<TextEncoding>& TextEncoding::offered()
{
    static const std::vector<TextEncoding> all = {
        {"windows-1252", "Western (Windows-1252)", "CP1252"},
        // Windows code page 949 (Unified Hangul Code), not IBM's page of that number.
        {"windows-949", "Korean (CP949)", "UHC"},
        {"GBK", "Chinese Simplified (GBK)", "GBK"},
        {"Big5", "Chinese Traditional (Big5)", "BIG5"},
        // Windows' Shift-JIS.
        {"Shift_JIS", "Japanese (Shift-JIS)", "CP932"},
        {"windows-1251", "Cyrillic (Windows-1251)", "CP1251"},
        {"UTF-8", "Unicode (UTF-8)", "UTF-8"},
    };
    return all;
}

const TextEncoding& TextEncoding::defaultCodePage()
{
    return offered().front();
}

const TextEncoding& TextEncoding::utf8()
{
    return offered().back();
}

std::optional<TextEncoding> TextEncoding::byName(std::string_view name)
{
    static const std::map<std::string, std::string> aliases = {
        {"cp949", "windows-949"}, {"cp1252", "windows-1252"}, {"cp1251", "windows-1251"},
        {"sjis", "Shift_JIS"},    {"shift-jis", "Shift_JIS"}, {"utf8", "UTF-8"},
    };
    std::string wanted = toLowerAscii(name);
    if (auto alias = aliases.find(wanted); alias != aliases.end())
        wanted = toLowerAscii(alias->second);
    for (const TextEncoding& encoding : offered())
        if (toLowerAscii(encoding.id_) == wanted || toLowerAscii(encoding.iconvName_) == wanted)
            return encoding;
    return std::nullopt;
}

std::string TextEncoding::knownNames()
{
    std::string names;
    for (const TextEncoding& encoding : offered()) {
        if (!names.empty())
            names += ", ";
        names += encoding.id_;
    }
    return names;
}

std::string TextEncoding::decode(std::string_view bytes) const
{
    // Every offered code page maps 0..127 to ASCII.
    if (isAscii(bytes))
        return std::string(bytes);
    if (isUtf8())
        return decodeUtf8(bytes);
    iconv_t cd = converters().get("UTF-8", iconvName_);
    if (cd == ConverterCache::invalid()) {
        // No converter for the page: only its ASCII part can be shown.
        std::string out;
        for (char c : bytes)
            if (static_cast<unsigned char>(c) < 0x80)
                out += c;
            else
                out += kReplacement;
        return out;
    }
    return *convert(cd, bytes, [](std::string& out, size_t) {
        out += kReplacement;
        return true;
    });
}

namespace {
// U+F780..U+F7FF in UTF-8: EF 9E 80..EF 9F BF, standing for bytes 0x80..0xFF.
constexpr char32_t kKeptByteBase = 0xF700;

void appendKeptByte(std::string& out, unsigned char byte)
{
    const char32_t c = kKeptByteBase + byte;
    out += static_cast<char>(0xE0 | (c >> 12));
    out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (c & 0x3F));
}

// The kept byte a UTF-8 sequence at the start of `s` stands for, or -1.
int keptByteAt(std::string_view s)
{
    if (s.size() < 3 || static_cast<unsigned char>(s[0]) != 0xEF)
        return -1;
    const unsigned char b1 = static_cast<unsigned char>(s[1]), b2 = static_cast<unsigned char>(s[2]);
    if (b1 != 0x9E && b1 != 0x9F)
        return -1;
    const char32_t c = (char32_t(0xF) << 12) | (char32_t(b1 & 0x3F) << 6) | (b2 & 0x3F);
    return c >= kKeptByteBase + 0x80 && c <= kKeptByteBase + 0xFF ? static_cast<int>(c - kKeptByteBase) : -1;
}
}  // namespace

std::string TextEncoding::decodeKeepingBytes(std::string_view bytes) const
{
    if (isAscii(bytes) || isUtf8())
        return decode(bytes);
    iconv_t cd = converters().get("UTF-8", iconvName_);
    if (cd == ConverterCache::invalid())
        return decode(bytes);
    return *convert(cd, bytes, [&](std::string& out, size_t at) {
        appendKeptByte(out, static_cast<unsigned char>(bytes[at]));
        return true;
    });
}

std::optional<std::string> TextEncoding::encodeKeepingBytes(std::string_view utf8) const
{
    if (isUtf8())
        return encode(utf8);
    // The kept bytes go back as they were; the text between them is encoded.
    std::string bytes;
    size_t start = 0;
    for (size_t at = 0; at < utf8.size();) {
        const int kept = keptByteAt(utf8.substr(at));
        if (kept < 0) {
            ++at;
            continue;
        }
        std::optional<std::string> piece = encode(utf8.substr(start, at - start));
        if (!piece)
            return std::nullopt;
        bytes += *piece;
        bytes += static_cast<char>(kept);
        at += 3;
        start = at;
    }
    std::optional<std::string> rest = encode(utf8.substr(start));
    if (!rest)
        return std::nullopt;
    return bytes + *rest;
}

std::optional<std::string> TextEncoding::encode(std::string_view utf8) const
{
    if (isAscii(utf8))
        return std::string(utf8);
    if (!isWellFormedUtf8(utf8))
        return std::nullopt;
    if (isUtf8())
        return std::string(utf8);
    iconv_t cd = converters().get(iconvName_, "UTF-8");
    if (cd == ConverterCache::invalid())
        return std::nullopt;
    std::optional<std::string> bytes = convert(cd, utf8, [](std::string&, size_t) { return false; });
    // A converter may map a character it lacks to a look-alike without
    // complaint; only a result that reads back as the same text counts.
    if (!bytes || decode(*bytes) != utf8)
        return std::nullopt;
    return bytes;
}

std::optional<size_t> TextEncoding::firstUnencodable(std::string_view utf8) const
{
    if (encode(utf8))
        return std::nullopt;
    for (size_t at = 0; at < utf8.size();) {
        size_t length = utf8SequenceLength(utf8.substr(at));
        if (length == 0 || !encode(utf8.substr(at, length)))
            return at;
        at += length;
    }
    return 0;  // each character encodes alone but not the whole; blame the start
}

TextEncoding shownEncoding(std::string_view fileBytes, const TextEncoding& chosen)
{
    return isUtf8WithHighBytes(fileBytes) ? TextEncoding::utf8() : chosen;
}

}  // namespace vs
