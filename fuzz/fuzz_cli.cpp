// The command line, run in-process on any arguments. The input is the
// arguments, one a line, then an empty line and the bytes of a file that the
// arguments "@shop" and "@bag" name (as shop.txt and bag.txt in a folder of
// the run). Arguments that would write files or name other paths are left
// out. Every run ends with a known status: 0, 3 (check found an error), 1
// with the start-up message, or 2 with one line on standard error (a name
// that chooses several items adds its candidates, each on an indented line)
// and nothing on standard output. What --json prints is JSON.
#include "cli/cli_commands.h"
#include "fuzz_support.h"
#include "../tests/cli/json_reader.h"

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <unistd.h>

namespace {

// A folder of this run for the files "@shop" and "@bag" name, removed at exit.
struct WorkFolder {
    std::filesystem::path path = std::filesystem::temp_directory_path() /
                                 ("vaultsmith-fuzz-cli-" + std::to_string(::getpid()));
    WorkFolder() { std::filesystem::create_directories(path); }
    ~WorkFolder()
    {
        std::error_code ec;
        std::filesystem::remove_all(path, ec);
    }
};

const std::filesystem::path& workFolder()
{
    static const WorkFolder folder;
    return folder.path;
}

void writeFile(const std::filesystem::path& path, std::string_view bytes)
{
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

// An output file, another path, or the storage command that makes a file.
bool writes(const std::string& arg)
{
    return arg.rfind("-o", 0) == 0 || arg.rfind("--o", 0) == 0 || arg.find('/') != std::string::npos || arg == "new";
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const std::string_view input = fuzzBytes(data, size);
    const size_t split = input.find("\n\n");
    const std::string_view argText = input.substr(0, split);
    const std::string_view fileBytes = split == std::string_view::npos ? std::string_view() : input.substr(split + 2);

    std::vector<std::string> args;
    size_t start = 0;
    while (start <= argText.size()) {
        const size_t end = std::min(argText.find('\n', start), argText.size());
        std::string arg(argText.substr(start, end - start));
        if (arg == "@shop" || arg == "@bag") {
            const std::filesystem::path file = workFolder() / (arg == "@shop" ? "shop.txt" : "bag.txt");
            writeFile(file, fileBytes);
            arg = file.string();
        } else if (writes(arg)) {
            return 0;
        }
        args.push_back(std::move(arg));
        start = end + 1;
    }
    if (args.size() == 1 && args[0].empty())
        args.clear();

    std::ostringstream out, err;
    const int status = vs::cli::runCli(args, out, err, std::filesystem::path(VAULTSMITH_BIN_DIR));
    const std::string errText = err.str();
    FUZZ_CHECK(status == 0 || status == 1 || status == 2 || status == 3, "a known exit status");
    if (status == 2) {
        FUZZ_CHECK(out.str().empty(), "bad usage prints nothing on standard output");
        FUZZ_CHECK(errText.rfind("vaultsmith-cli: ", 0) == 0 && errText.back() == '\n',
                   "bad usage is a line on standard error");
        for (size_t line = errText.find('\n'); line + 1 < errText.size(); line = errText.find('\n', line + 1))
            FUZZ_CHECK(errText.compare(line + 1, 2, "  ") == 0, "only candidates follow the line, indented");
    }
    const auto given = [&](const char* arg) { return std::find(args.begin(), args.end(), arg) != args.end(); };
    if (status == 3)
        FUZZ_CHECK(given("check"), "only the checks find errors");
    // Help and the version are text, after "--" an argument is no option, and
    // after an option that takes a value "--json" is that value.
    static const std::vector<std::string> takingValues = {
        "--data", "--encoding", "--layout", "--name", "--level", "--dur", "--skill", "--luck", "--option",
        "--serial", "--exc", "--only", "-o", "--output", "--account", "--character", "--table", "--column"};
    bool json = false;
    for (size_t i = 0; i < args.size(); ++i)
        json = json || (args[i] == "--json" && (i == 0 || std::find(takingValues.begin(), takingValues.end(),
                                                                     args[i - 1]) == takingValues.end()));
    json = json && !given("--") && !given("--help") && !given("--version");
    if (json && (status == 0 || status == 3) && !out.str().empty()) {
        try {
            vs::test::JsonReader::parse(out.str());
        } catch (const std::runtime_error&) {
            FUZZ_CHECK(false, "--json prints JSON");
        }
    }
    if (status == 1)
        FUZZ_CHECK(errText.find("Error reading a required data file.") == 0, "a failed load gives the start-up message");
    return 0;
}
