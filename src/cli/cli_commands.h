#pragma once

#include <filesystem>
#include <ostream>
#include <string>
#include <vector>

namespace vs::cli {

// Runs vaultsmith-cli with its arguments (without the program name). Output
// goes to `out`, messages to `err`; `programDir` is where the program lives,
// for finding the data shipped beside it. Returns the exit status.
int runCli(const std::vector<std::string>& args, std::ostream& out, std::ostream& err,
           const std::filesystem::path& programDir);

}  // namespace vs::cli
