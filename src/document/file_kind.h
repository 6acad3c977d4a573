#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace vs {

// The document kind a file name stands for: 0 (shop) when the lower-cased name
// contains "shop", else 1 (item bag) when it contains "bag", else none. The
// name is the file's name without its folder, extension included.
std::optional<int> editModeForFileName(std::string_view fileName);

// "Open> "<name>" is invalid."
std::string openRefusalMessage(std::string_view fileName);

// The caption of the luck check box for a naming rule (a document kind names
// as its first layout): "Excellent" where luck names an item
// "Excellent ...", else "Luck".
std::string_view luckCaption(int nameRule);

}  // namespace vs
