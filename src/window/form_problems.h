#pragma once

#include "check/file_check.h"

#include <QWidget>

class QLabel;
class QListWidget;

namespace vs {

class formTolvane;

// The findings of Edit > Check File: which file was checked and in which
// layout, each finding on its line; activating one selects its row. After an
// edit the window is checked again, or marked out of date until F7.
class formProblems : public QWidget {
    Q_OBJECT
public:
    explicit formProblems(formTolvane& main);
    // The findings of a check of `file` in `layout`, each at the list's row in `rows`.
    void showFindings(const QString& file, const QString& layout, const std::vector<Finding>& findings,
                      const std::vector<int>& rows, bool stopped);
    // Nothing checked yet: a file was just opened.
    void clearFindings(const QString& file, const QString& layout);
    // The list changed since the findings shown were found.
    void markOutOfDate();
    bool outOfDate() const { return outOfDate_; }

private:
    formTolvane& main_;
    QLabel* lblCheckedFile = nullptr;
    QLabel* lblCheckState = nullptr;
    QListWidget* lstProblems = nullptr;
    bool outOfDate_ = false;
};

}  // namespace vs
