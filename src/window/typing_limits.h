#pragma once

#include <functional>

class QLineEdit;
class QString;

namespace vs {

// Accepts typed text only up to a number of characters; text set by the
// program may be longer, as the durability "12.5" read from a list entry is.
void limitTypedLength(QLineEdit* box, int maxLength);

// Keeps the box's text on one line: line breaks and other control characters
// but the tab become blanks as they are typed or pasted. Accepts only text
// `encodable` says the file can store; the box reports a refused keystroke or
// paste with inputRejected.
void limitToEncodableText(QLineEdit* box, std::function<bool(const QString&)> encodable);

}  // namespace vs
