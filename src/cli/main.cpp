#include "cli/cli_commands.h"

#include <filesystem>
#include <iostream>

int main(int argc, char** argv)
{
    std::error_code ec;
    std::filesystem::path program = std::filesystem::read_symlink("/proc/self/exe", ec);
    if (ec)
        program = std::filesystem::absolute(argv[0], ec);
    std::vector<std::string> args(argv + 1, argv + argc);
    std::ios::sync_with_stdio(false);
    int status = vs::cli::runCli(args, std::cout, std::cerr, program.parent_path());
    std::cout.flush();
    if (!std::cout) {
        std::cerr << "vaultsmith-cli: cannot write to standard output\n";
        return 2;
    }
    return status;
}
