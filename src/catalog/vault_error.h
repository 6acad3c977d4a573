#pragma once

#include <stdexcept>
#include <string>

namespace vs {

// The kinds of failure that reading data and composing codes can raise.
// The numbers are the ones the start-up message shows after "Error:".
enum class ErrorKind {
    InvalidArgument = 5,
    NumberTooLarge = 6,
    IndexOutOfTable = 9,
    DivisionByZero = 11,
    Internal = 51,
    FileNotFound = 53,
};

// A typed failure: a number, a fixed description of its kind, and an optional
// detail (file, line, value) that tells the operator where it happened.
class VaultError : public std::runtime_error {
public:
    VaultError(ErrorKind kind, std::string detail = {});

    ErrorKind kind() const { return kind_; }
    int number() const { return static_cast<int>(kind_); }
    const std::string& detail() const { return detail_; }
    // "index outside a table (item(Kor).txt, line 12: ...)", every byte of
    // the detail kept (what() ends at a NUL byte the detail may hold).
    const std::string& description() const { return description_; }

private:
    ErrorKind kind_;
    std::string detail_;
    std::string description_;
};

// "number too large for its field", "index outside a table", ...
const char* kindDescription(ErrorKind kind);

}  // namespace vs
