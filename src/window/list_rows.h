#pragma once

#include "document/list_entry.h"

#include <QMetaType>
#include <Qt>

class QListWidgetItem;
class QString;

namespace vs {

// The entry as a row keeps it. It has no equality on purpose: a row compares
// a new value with the old one and keeps the old when they are equal, and two
// entries of equal content may still come from different lines.
struct StoredEntry {
    ListEntry entry;
};

}  // namespace vs

Q_DECLARE_METATYPE(vs::StoredEntry)

namespace vs {

class TextEncoding;

// A row of the list keeps its entry whole (bytes, kind, remainder, origin)
// beside the text it shows; the kind also stands in Qt::UserRole.
inline constexpr int kEntryRole = Qt::UserRole + 1;

ListEntry rowEntry(const QListWidgetItem* row);

// Puts the entry into the row: its text shown in `shown`, its remainder as
// the row's tool-tip.
void showRowEntry(QListWidgetItem* row, const ListEntry& entry, const TextEncoding& shown);

// The text as `encoding` shows it.
QString shownText(std::string_view bytes, const TextEncoding& encoding);
// The text in `encoding`; a character it cannot hold becomes "?". Typed text
// never holds one: the boxes refuse it as it is typed.
std::string storedBytes(const QString& text, const TextEncoding& encoding);
// Whether `encoding` holds every character of the text.
bool encodable(const QString& text, const TextEncoding& encoding);

}  // namespace vs
