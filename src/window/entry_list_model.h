#pragma once

#include "catalog/text_encoding.h"
#include "document/document.h"

#include <QAbstractListModel>
#include <QIcon>
#include <cstdint>
#include <vector>

namespace vs {

// The document's rows as the list shows them: a row's text in the
// document's code page, its kind in Qt::UserRole, what its line keeps beyond
// the entry as its tool-tip and a mark on rows the last check found an error
// on. Nothing is kept per row but what the last check found there; texts are
// made when a row is painted.
class EntryListModel : public QAbstractListModel, public DocumentListener {
    Q_OBJECT
public:
    EntryListModel(Document& document, QObject* parent);
    ~EntryListModel() override;

    // The code page the rows are shown in.
    void setEncoding(const TextEncoding& encoding);
    // What the last check found on each row: kNoFinding, kWarning or kError.
    // The findings move with their rows; a new document has none.
    enum Found : uint8_t { kNoFinding = 0, kWarning = 1, kError = 2 };
    void setFindings(std::vector<uint8_t> found);
    Found foundAt(int row) const
    {
        return static_cast<size_t>(row) < found_.size() ? Found(found_[static_cast<size_t>(row)]) : kNoFinding;
    }

    int rowCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;

    void aboutToChange(const DocumentChange& change) override;
    void changed(const DocumentChange& change) override;

private:
    Document& document_;
    TextEncoding encoding_ = TextEncoding::defaultCodePage();
    std::vector<uint8_t> found_;  // empty: nothing found, or not checked
    QIcon mark_;
};

}  // namespace vs
