#pragma once

class QLineEdit;

namespace vs {

// Accepts typed text only up to a number of characters; text set by the
// program may be longer, as the durability "12.5" read from a list entry is.
void limitTypedLength(QLineEdit* box, int maxLength);

// Accepts only characters that a shop or item-bag file can store (one byte
// each); the box reports a refused keystroke or paste with inputRejected.
void limitToSingleByteText(QLineEdit* box);

}  // namespace vs
