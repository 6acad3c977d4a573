#include "window/code_box.h"

#include <QFontDatabase>

namespace vs {

CodeBox::CodeBox(QWidget* parent) : QLineEdit(parent)
{
    setReadOnly(true);
    // Courier New where it is installed, else the platform's fixed-pitch font.
    QFont font = QFontDatabase::systemFont(QFontDatabase::FixedFont);
    font.setFamilies({"Courier New", "Liberation Mono", "DejaVu Sans Mono", "Noto Sans Mono", font.family(),
                      "monospace"});
    font.setStyleHint(QFont::TypeWriter);
    font.setFixedPitch(true);
    font.setPointSizeF(9.75);
    setFont(font);
    // The inactive highlight looks like the active one.
    QPalette p = palette();
    for (auto role : {QPalette::Highlight, QPalette::HighlightedText})
        p.setColor(QPalette::Inactive, role, p.color(QPalette::Active, role));
    setPalette(p);
}

void CodeBox::showCode(const QString& code)
{
    const int start = selectionStart();
    const int length = selectedText().size();
    setText(code);
    if (start >= 0 && length > 0)
        setSelection(start, length);
}

void CodeBox::focusOutEvent(QFocusEvent* event)
{
    // QLineEdit drops its selection when the focus leaves; keep it.
    const int start = selectionStart();
    const int length = selectedText().size();
    QLineEdit::focusOutEvent(event);
    if (start >= 0)
        setSelection(start, length);
}

}  // namespace vs
