#include "document/file_kind.h"

#include "catalog/text_utils.h"

namespace vs {

std::optional<int> editModeForFileName(std::string_view fileName)
{
    const std::string lower = toLowerAscii(fileName);
    if (lower.find("shop") != std::string::npos)
        return 0;
    if (lower.find("bag") != std::string::npos)
        return 1;
    return std::nullopt;
}

std::string openRefusalMessage(std::string_view fileName)
{
    return "Open> \"" + std::string(fileName) + "\" is invalid.";
}

std::string_view luckCaption(int nameRule)
{
    return nameRule == 1 ? "Excellent" : "Luck";
}

}  // namespace vs
