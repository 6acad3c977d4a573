#pragma once

#include "catalog/text_encoding.h"
#include "document/document.h"

#include <QAbstractListModel>
#include <QIcon>
#include <vector>

namespace vs {

// The document's rows as the list shows them: a row's text in the
// document's code page, its kind in Qt::UserRole, what its line keeps beyond
// the entry as its tool-tip and a mark on rows the last check found wrong.
// Nothing is kept per row but the mark; texts are made when a row is painted.
class EntryListModel : public QAbstractListModel, public DocumentListener {
    Q_OBJECT
public:
    EntryListModel(Document& document, QObject* parent);
    ~EntryListModel() override;

    // The code page the rows are shown in.
    void setEncoding(const TextEncoding& encoding);
    // Marks the rows (true: the check found an error on it); the marks move with their rows.
    void setMarks(std::vector<bool> marks);

    int rowCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;

    void aboutToChange(const DocumentChange& change) override;
    void changed(const DocumentChange& change) override;

private:
    Document& document_;
    TextEncoding encoding_ = TextEncoding::defaultCodePage();
    std::vector<bool> marks_;  // empty: no row is marked
    QIcon mark_;
};

}  // namespace vs
