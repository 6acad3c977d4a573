#pragma once

#include <QString>
#include <string>
#include <string_view>

namespace vs {

class TextEncoding;

// Texts of files and of the catalog, each in its code page.
// The text as `encoding` shows it.
QString shownText(std::string_view bytes, const TextEncoding& encoding);
// The text in `encoding`; a character it cannot hold becomes "?". Typed text
// never holds one: the boxes refuse it as it is typed.
std::string storedBytes(const QString& text, const TextEncoding& encoding);
// Whether `encoding` holds every character of the text.
bool encodable(const QString& text, const TextEncoding& encoding);

}  // namespace vs
