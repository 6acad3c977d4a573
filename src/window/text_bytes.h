#pragma once

#include <QString>
#include <string>
#include <string_view>

namespace vs {

// Item data is single-byte text: each byte is one character. Latin-1 maps every
// byte to one character and back, so any byte survives the trip through a widget.
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
