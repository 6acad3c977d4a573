#pragma once

#include "check/file_check.h"

#include <QAbstractListModel>
#include <QWidget>

class QLabel;
class QListView;

namespace vs {

class formTolvane;

// The findings of a check as rows "Line N: severity: message [code]", made
// when a row is shown: a check of a big file may find hundreds of thousands.
class FindingListModel : public QAbstractListModel {
    Q_OBJECT
public:
    explicit FindingListModel(formTolvane& main, QObject* parent);
    // The findings, each at the list's row in `rows` (-1: none); `stopped` says
    // the check was stopped before the end.
    void setFindings(std::vector<Finding> findings, std::vector<int> rows, bool stopped);
    void clear();

    int rowCount(const QModelIndex& parent = {}) const override;
    // Qt::UserRole: the list's row of the finding, -1 for none.
    QVariant data(const QModelIndex& index, int role) const override;

private:
    formTolvane& main_;
    std::vector<Finding> findings_;
    std::vector<int> rows_;
    bool checked_ = false;  // a check's findings are shown (with none, a row says so)
    bool stopped_ = false;
};

// The findings of Edit > Check File: which file was checked and in which
// layout, each finding on its line; activating one selects its row. After an
// edit the window is checked again, or marked out of date until F7.
class formProblems : public QWidget {
    Q_OBJECT
public:
    explicit formProblems(formTolvane& main);
    // The findings of a check of `file` in `layout`, each at the list's row in `rows`.
    void showFindings(const QString& file, const QString& layout, std::vector<Finding> findings,
                      std::vector<int> rows, bool stopped, bool show = true);
    // Nothing checked yet: a file was just opened.
    void clearFindings(const QString& file, const QString& layout);
    // The list changed since the findings shown were found.
    void markOutOfDate();
    bool outOfDate() const { return outOfDate_; }

private:
    formTolvane& main_;
    FindingListModel* findings_ = nullptr;
    QLabel* lblCheckedFile = nullptr;
    QLabel* lblCheckState = nullptr;
    QListView* lstProblems = nullptr;
    bool outOfDate_ = false;
};

}  // namespace vs
