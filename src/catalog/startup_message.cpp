#include "catalog/startup_message.h"

namespace vs {

std::string startupFailureText(const VaultError& error, std::string_view eol)
{
    std::string text = "Error reading a required data file.  Program will terminate.";
    text += eol;
    text += "   Error:" + std::to_string(error.number()) + ", " + error.description();
    text += eol;
    text += "   Make sure data files exist and have proper format. ";
    return text;
}

}  // namespace vs
