#include "window/code_page_text.h"

#include "catalog/text_encoding.h"

namespace vs {

QString shownText(std::string_view bytes, const TextEncoding& encoding)
{
    return QString::fromStdString(encoding.decodeKeepingBytes(bytes));
}

std::string storedBytes(const QString& text, const TextEncoding& encoding)
{
    if (std::optional<std::string> bytes = encoding.encodeKeepingBytes(text.toStdString()))
        return *std::move(bytes);
    std::string bytes;
    for (const uint c : text.toUcs4()) {
        const char32_t character = c;
        const std::optional<std::string> one =
            encoding.encodeKeepingBytes(QString::fromUcs4(&character, 1).toStdString());
        bytes += one ? *one : std::string("?");
    }
    return bytes;
}

bool encodable(const QString& text, const TextEncoding& encoding)
{
    return encoding.encodeKeepingBytes(text.toStdString()).has_value();
}

}  // namespace vs
