#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// Showing byte texts as Unicode. Entry texts and catalog names stay bytes and
// are written back byte for byte; only what is shown (and what the user edits)
// passes through UTF-8. A server file is either UTF-8 or a Windows code page.
namespace vs {

// True when `bytes` is well-formed UTF-8 (no overlong forms, no surrogates,
// nothing above U+10FFFF, no truncated sequence) and holds at least one byte
// above 127. Plain ASCII is false: it says nothing about the file's encoding.
bool isUtf8WithHighBytes(std::string_view bytes);

// One encoding the user can choose for showing texts: a Windows code page or
// UTF-8. Conversion is done by the C library's iconv.
class TextEncoding {
public:
    // Stable id ("windows-949"), kept in settings and given on command lines.
    const std::string& id() const { return id_; }
    // What a menu shows ("Korean (CP949)").
    const std::string& label() const { return label_; }
    // The name iconv knows the encoding by ("UHC").
    const std::string& iconvName() const { return iconvName_; }
    bool isUtf8() const;

    // The encodings offered, the default code page (windows-1252) first and
    // UTF-8 last.
    static const std::vector<TextEncoding>& offered();
    static const TextEncoding& defaultCodePage();
    static const TextEncoding& utf8();
    // The offered encoding whose id or iconv name is `name` without regard to
    // case; also "cp949", "cp1252", "cp1251", "sjis", "shift-jis" and "utf8".
    static std::optional<TextEncoding> byName(std::string_view name);
    // The offered ids, comma-separated, for messages.
    static std::string knownNames();

    // The text as UTF-8. Never fails: each byte that does not start a sequence
    // the encoding defines becomes U+FFFD and decoding goes on after it.
    std::string decode(std::string_view bytes) const;
    // The UTF-8 text in this encoding, or nullopt when the text is not valid
    // UTF-8 or holds a character the encoding cannot hold (nothing is
    // approximated).
    std::optional<std::string> encode(std::string_view utf8) const;
    // For text that is edited and written back: as decode(), but a byte the
    // code page does not define becomes the private-use character U+F700 + byte
    // instead of U+FFFD, and encodeKeepingBytes() turns it back into that byte,
    // so editing a row never changes the bytes around the edit. UTF-8, whose
    // files are shown as such only when they are valid, decodes as decode().
    std::string decodeKeepingBytes(std::string_view bytes) const;
    std::optional<std::string> encodeKeepingBytes(std::string_view utf8) const;
    // Byte offset in `utf8` of the first character encode() cannot hold (or of
    // the first malformed byte); nullopt when the whole text encodes.
    std::optional<size_t> firstUnencodable(std::string_view utf8) const;

    bool operator==(const TextEncoding& other) const { return id_ == other.id_; }

private:
    TextEncoding(std::string id, std::string label, std::string iconvName);

    std::string id_;
    std::string label_;
    std::string iconvName_;
};

// The encoding a file's texts are shown in: UTF-8 when the bytes are UTF-8
// holding a byte above 127, else the chosen one.
TextEncoding shownEncoding(std::string_view fileBytes, const TextEncoding& chosen);

}  // namespace vs
