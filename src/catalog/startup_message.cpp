#include "catalog/startup_message.h"

namespace vs {

std::string startupFailureText(const VaultError& error, std::string_view eol)
{
    std::string text = "Error reading a required data file.  Program will terminate.";
    text += eol;
    text += "   Error:" + std::to_string(error.number()) + ", ";
    // A NUL byte (in a name read from a data file, say) is shown as \0, so
    // that neither a message box nor a terminal ends the text there.
    for (char c : error.description()) {
        if (c == '\0')
            text += "\\0";
        else
            text += c;
    }
    text += eol;
    text += "   Make sure data files exist and have proper format. ";
    return text;
}

}  // namespace vs
