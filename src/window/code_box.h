#pragma once

#include <QLineEdit>

namespace vs {

// A read-only box in a fixed-pitch font that shows a code with part of it
// highlighted. The box paints the highlight itself, so that it stays visible
// while another control has the focus or owns the desktop's text selection.
class CodeBox : public QLineEdit {
    Q_OBJECT
public:
    explicit CodeBox(QWidget* parent);

    // Shows a new code without a highlight; setHighlight marks the changed part.
    void showCode(const QString& code);
    void setHighlight(int start, int length);
    int highlightStart() const { return start_; }
    QString highlightedText() const;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    int start_ = 0;
    int length_ = 0;
};

}  // namespace vs
