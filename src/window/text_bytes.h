#pragma once

#include <QString>
#include <string>
#include <string_view>

namespace vs {

// The program's own texts (captions, messages, codes, numbers) are ASCII and
// pass through Latin-1, which maps every byte to one character and back. Texts
// of files and of the catalog go through their code page instead (code_page_text.h).
inline QString fromBytes(std::string_view bytes)
{
    return QString::fromLatin1(bytes.data(), static_cast<qsizetype>(bytes.size()));
}

inline std::string toBytes(const QString& text)
{
    const QByteArray bytes = text.toLatin1();
    return std::string(bytes.constData(), static_cast<size_t>(bytes.size()));
}

}  // namespace vs
