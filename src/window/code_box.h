#pragma once

#include <QLineEdit>

namespace vs {

// A read-only box in a fixed-pitch font that shows a code with part of it
// highlighted; the highlight stays visible while another control has the focus.
class CodeBox : public QLineEdit {
    Q_OBJECT
public:
    explicit CodeBox(QWidget* parent);

    // Shows a new code; the highlighted part stays where it was until it is moved.
    void showCode(const QString& code);

protected:
    void focusOutEvent(QFocusEvent* event) override;
};

}  // namespace vs
