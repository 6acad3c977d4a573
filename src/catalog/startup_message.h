#pragma once

#include "catalog/vault_error.h"

#include <string>
#include <string_view>

namespace vs {

// The application's title: window caption and message-box title.
inline constexpr std::string_view kAppTitle = "Vaultsmith";

// The text of the box that ends the program when start-up fails:
// "Error reading a required data file.  Program will terminate." EOL
// "   Error:<number>, <description>" EOL   (a NUL byte in it shown as \0)
// "   Make sure data files exist and have proper format. "
std::string startupFailureText(const VaultError& error, std::string_view eol = "\r\n");

}  // namespace vs
