#include "catalog/vault_error.h"

namespace vs {

namespace {
std::string composeWhat(ErrorKind kind, const std::string& detail)
{
    std::string text = kindDescription(kind);
    if (!detail.empty())
        text += " (" + detail + ")";
    return text;
}
}  // namespace

VaultError::VaultError(ErrorKind kind, std::string detail)
    : std::runtime_error(composeWhat(kind, detail)),
      kind_(kind),
      detail_(std::move(detail)),
      description_(composeWhat(kind_, detail_))
{
}

const char* kindDescription(ErrorKind kind)
{
    switch (kind) {
    case ErrorKind::InvalidArgument: return "invalid argument";
    case ErrorKind::NumberTooLarge: return "number too large for its field";
    case ErrorKind::IndexOutOfTable: return "index outside a table";
    case ErrorKind::DivisionByZero: return "division by zero";
    case ErrorKind::Internal: return "internal error";
    case ErrorKind::FileNotFound: return "file not found";
    }
    return "unknown failure";
}

}  // namespace vs
