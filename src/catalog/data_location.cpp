#include "catalog/data_location.h"

#include "catalog/catalog_loader.h"
#include "catalog/text_utils.h"

namespace vs {

std::filesystem::path resolveDataFile(const std::filesystem::path& dir, std::string_view name)
{
    std::error_code ec;
    std::filesystem::path exact = dir / std::string(name);
    if (std::filesystem::is_regular_file(exact, ec))
        return exact;
    const std::string wanted = toLowerAscii(name);
    for (std::filesystem::directory_iterator it(dir, ec), end; !ec && it != end; it.increment(ec)) {
        if (toLowerAscii(it->path().filename().string()) == wanted && it->is_regular_file(ec))
            return it->path();
    }
    return exact;
}

bool holdsCatalog(const std::filesystem::path& dir)
{
    std::error_code ec;
    return std::filesystem::is_regular_file(resolveDataFile(dir, kItemFileName), ec);
}

std::filesystem::path defaultDataFolder(const std::filesystem::path& programDir)
{
    const std::filesystem::path working = "data";
    if (holdsCatalog(working))
        return working;
    for (const auto& candidate : {programDir / "data", programDir / ".." / "share" / "vaultsmith" / "data"})
        if (holdsCatalog(candidate))
            return candidate;
    return working;
}

}  // namespace vs
