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

class SingleByteText : public QValidator {
public:
    using QValidator::QValidator;
    State validate(QString& input, int&) const override
    {
        const bool storable = std::all_of(input.begin(), input.end(), [](QChar c) { return c.unicode() <= 0xFF; });
        return storable ? Acceptable : Invalid;
    }
};

}  // namespace

void limitTypedLength(QLineEdit* box, int maxLength)
{
    box->setValidator(new TypedLengthLimit(maxLength, box));
}

void limitToSingleByteText(QLineEdit* box)
{
    box->setValidator(new SingleByteText(box));
}

}  // namespace vs
