#pragma once

#include <cstdint>
#include <map>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace vs::cli {

// Bad usage or an invalid argument: one line for stderr, exit status 2.
class UsageError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

struct OptionSpec {
    std::string name;  // "--serial", "-o"
    bool takesValue = false;
};

struct ParsedArgs {
    std::map<std::string, std::string> options;  // keyed by the OptionSpec name; flags map to ""
    std::vector<std::string> positionals;

    bool has(const std::string& name) const { return options.count(name) > 0; }
    std::optional<std::string> value(const std::string& name) const;
};

// Options may stand anywhere, as "--opt V" or "--opt=V"; "--" ends them; an
// option given twice is a UsageError. A token that starts with "--" and is not
// in `specs` is a UsageError unless `unknownArePositional`, and a token with a
// single leading "-" is a positional unless `specs` names it.
ParsedArgs parseArgs(const std::vector<std::string>& args, const std::vector<OptionSpec>& specs,
                     bool unknownArePositional = false);

// An integer written as -?[0-9]+ within [lo, hi]; otherwise a UsageError naming `what`.
int64_t parseInteger(std::string_view text, std::string_view what, int64_t lo, int64_t hi);

}  // namespace vs::cli
