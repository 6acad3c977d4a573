#include "window/typing_limits.h"

#include <QLineEdit>
#include <QValidator>
#include <algorithm>

namespace vs {

namespace {

class TypedLengthLimit : public QValidator {
public:
    TypedLengthLimit(int maxLength, QObject* parent) : QValidator(parent), max_(maxLength) {}
    State validate(QString& input, int&) const override { return input.size() <= max_ ? Acceptable : Invalid; }

private:
    int max_;
};

class EncodableText : public QValidator {
public:
    EncodableText(std::function<bool(const QString&)> encodable, QObject* parent)
        : QValidator(parent), encodable_(std::move(encodable))
    {
    }
    State validate(QString& input, int&) const override
    {
        for (QChar& c : input)
            if (c.category() == QChar::Other_Control && c != QLatin1Char('\t'))
                c = QLatin1Char(' ');
        return encodable_(input) ? Acceptable : Invalid;
    }

private:
    std::function<bool(const QString&)> encodable_;
};

}  // namespace

void limitTypedLength(QLineEdit* box, int maxLength)
{
    box->setValidator(new TypedLengthLimit(maxLength, box));
}

void limitToEncodableText(QLineEdit* box, std::function<bool(const QString&)> encodable)
{
    box->setValidator(new EncodableText(std::move(encodable), box));
}

}  // namespace vs
