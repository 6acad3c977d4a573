#pragma once

#include "check/file_check.h"

#include <QWidget>

class QListWidget;

namespace vs {

class formTolvane;

// The findings of Edit > Check File; activating one selects its row.
class formProblems : public QWidget {
    Q_OBJECT
public:
    explicit formProblems(formTolvane& main);
    void show(const std::vector<Finding>& findings);

private:
    formTolvane& main_;
    QListWidget* lstProblems = nullptr;
};

}  // namespace vs
