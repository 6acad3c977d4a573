#include "window/list_rows.h"

#include "catalog/text_encoding.h"
#include "document/list_writer.h"

#include <QListWidgetItem>

namespace vs {

ListEntry rowEntry(const QListWidgetItem* row)
{
    return row->data(kEntryRole).value<StoredEntry>().entry;
}

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

void showRowEntry(QListWidgetItem* row, const ListEntry& entry, const TextEncoding& shown)
{
    row->setText(shownText(entry.text, shown));
    row->setData(Qt::UserRole, entry.kind);
    row->setData(kEntryRole, QVariant::fromValue(StoredEntry{entry}));
    // What the line holds beyond the entry, as it is written back.
    const std::string rest = remainderText(entry.rest, ' ');
    if (!rest.empty())
        row->setToolTip("Also kept on this line: " + shownText(rest, shown).trimmed());
    else if (!row->toolTip().isEmpty())
        row->setToolTip(QString());
}

}  // namespace vs
