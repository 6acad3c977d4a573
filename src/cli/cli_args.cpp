#include "cli/cli_args.h"

#include <algorithm>
#include <charconv>

namespace vs::cli {

std::optional<std::string> ParsedArgs::value(const std::string& name) const
{
    auto it = options.find(name);
    if (it == options.end())
        return std::nullopt;
    return it->second;
}

ParsedArgs parseArgs(const std::vector<std::string>& args, const std::vector<OptionSpec>& specs,
                     bool unknownArePositional)
{
    ParsedArgs parsed;
    for (size_t i = 0; i < args.size(); ++i) {
        const std::string& token = args[i];
        if (token == "--") {
            parsed.positionals.insert(parsed.positionals.end(), args.begin() + i + 1, args.end());
            break;
        }
        const bool looksLikeOption = token.size() > 1 && token[0] == '-';
        if (!looksLikeOption) {
            parsed.positionals.push_back(token);
            continue;
        }
        const size_t eq = token.find('=');
        const std::string name = token.substr(0, eq);
        auto spec = std::find_if(specs.begin(), specs.end(),
                                 [&](const OptionSpec& s) { return s.name == name; });
        if (spec == specs.end()) {
            if (unknownArePositional || token[1] != '-') {
                parsed.positionals.push_back(token);
                continue;
            }
            throw UsageError("unknown option " + name);
        }
        if (parsed.has(name))
            throw UsageError("option " + name + " given twice");
        if (!spec->takesValue) {
            if (eq != std::string::npos)
                throw UsageError("option " + name + " takes no value");
            parsed.options[name] = "";
        } else if (eq != std::string::npos) {
            parsed.options[name] = token.substr(eq + 1);
        } else {
            if (i + 1 >= args.size())
                throw UsageError("option " + name + " needs a value");
            parsed.options[name] = args[++i];
        }
    }
    return parsed;
}

int64_t parseInteger(std::string_view text, std::string_view what, int64_t lo, int64_t hi)
{
    const std::string range = " (" + std::to_string(lo) + ".." + std::to_string(hi) + ")";
    size_t digitsFrom = (!text.empty() && text[0] == '-') ? 1 : 0;
    bool wellFormed = text.size() > digitsFrom &&
                      std::all_of(text.begin() + digitsFrom, text.end(),
                                  [](char c) { return c >= '0' && c <= '9'; });
    if (!wellFormed)
        throw UsageError(std::string(what) + " must be an integer" + range + ", not '" + std::string(text) + "'");
    int64_t value = 0;
    auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (ec != std::errc() || end != text.data() + text.size() || value < lo || value > hi)
        throw UsageError(std::string(what) + " out of range" + range + ": " + std::string(text));
    return value;
}

}  // namespace vs::cli
