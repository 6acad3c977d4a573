#pragma once

#include <string_view>

namespace vs::cli {

// Usage text of the program ("" for the overview) or of one command; empty
// when the command is unknown.
std::string_view helpText(std::string_view command);

}  // namespace vs::cli
