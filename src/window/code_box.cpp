#include "window/code_box.h"

#include <QFontDatabase>
#include <QPainter>
#include <QStyleOptionFrame>

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
}

void CodeBox::showCode(const QString& code)
{
    setText(code);
    start_ = length_ = 0;
    update();
}

void CodeBox::setHighlight(int start, int length)
{
    start_ = std::max(0, start);
    length_ = std::max(0, length);
    update();
}

QString CodeBox::highlightedText() const
{
    return text().mid(start_, length_);
}

void CodeBox::paintEvent(QPaintEvent* event)
{
    QLineEdit::paintEvent(event);
    const QString part = highlightedText();
    if (part.isEmpty())
        return;
    // Where QLineEdit draws its text: the contents rectangle less the text
    // margins and its fixed two-pixel side margin, vertically centred.
    QStyleOptionFrame option;
    initStyleOption(&option);
    const QRect contents =
        style()->subElementRect(QStyle::SE_LineEditContents, &option, this).marginsRemoved(textMargins());
    const QFontMetrics metrics(font());
    const int left = contents.left() + 2 + metrics.horizontalAdvance(text().left(start_));
    const int top = contents.top() + (contents.height() - metrics.height() + 1) / 2;
    const QRect box(left, top, metrics.horizontalAdvance(part), metrics.height());

    QPainter painter(this);
    painter.setClipRect(contents);
    painter.fillRect(box, palette().color(QPalette::Active, QPalette::Highlight));
    painter.setPen(palette().color(QPalette::Active, QPalette::HighlightedText));
    painter.setFont(font());
    painter.drawText(QPoint(left, top + metrics.ascent()), part);
}

}  // namespace vs
