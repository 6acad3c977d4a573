// The core's speed targets, one table row each: the reader and writer of
// the command line against `wc -l` on the same generated files, vault codes
// per second and one search over a full catalog. Prints rows only; tools/bench
// prints the header. `targets_bench --no-header` is how tools/bench runs it.
#include "bench_table.h"
#include "generated_storage.h"

#include "catalog/catalog_loader.h"
#include "catalog/file_io.h"
#include "catalog/item_search.h"
#include "codes/shop_code.h"
#include "storage/storage.h"
#include "codes/vault_code.h"
#include "codes/vault_decode.h"
#include "check/file_check.h"

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

extern char** environ;

namespace {

using Clock = std::chrono::steady_clock;

double secondsSince(Clock::time_point start)
{
    return std::chrono::duration<double>(Clock::now() - start).count();
}

double median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

// Wall time of one run of a program, its standard output to /dev/null.
double timeRun(const std::vector<std::string>& args)
{
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
    std::vector<char*> argv;
    for (const std::string& a : args)
        argv.push_back(const_cast<char*>(a.c_str()));
    argv.push_back(nullptr);
    const Clock::time_point start = Clock::now();
    pid_t pid = 0;
    if (posix_spawnp(&pid, argv[0], &actions, nullptr, argv.data(), environ) != 0) {
        std::fprintf(stderr, "cannot run %s\n", argv[0]);
        std::exit(1);
    }
    int status = 0;
    waitpid(pid, &status, 0);
    const double seconds = secondsSince(start);
    posix_spawn_file_actions_destroy(&actions);
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) {
        std::fprintf(stderr, "%s failed\n", args[1].c_str());
        std::exit(1);
    }
    return seconds;
}

// 100,000 lines as a server's file holds them: item lines with a comment,
// a heading every 50 lines, CRLF line ends.
std::string generatedFile(int editMode)
{
    std::string bytes;
    char line[128];
    for (int i = 0; i < 100000; ++i) {
        if (i % 50 == 0)
            std::snprintf(line, sizeof line, "//==== section %d ====\r\n", i / 50);
        else if (editMode == 0)
            std::snprintf(line, sizeof line, "%d %d %d %d %d %d %d\t//Generated item %d\r\n", i % 16, i % 32, i % 13,
                          i % 256, i % 2, (i / 2) % 2, i % 5, i);
        else
            std::snprintf(line, sizeof line, "%d %d %d %d %d %d\t//Generated item %d\r\n", i % 16, i % 32, i % 13,
                          i % 2, (i / 2) % 2, i % 5, i);
        bytes += line;
    }
    return bytes;
}

void benchReaderAndWriter(const std::filesystem::path& cli, const std::filesystem::path& dir)
{
    for (int editMode : {0, 1}) {
        const std::filesystem::path file = dir / (editMode == 0 ? "shop_generated.txt" : "ItemBag_generated.txt");
        std::ofstream(file, std::ios::binary) << generatedFile(editMode);
        const std::string kind = editMode == 0 ? "shop" : "item-bag";
        std::vector<double> wc, entries, normalize;
        for (int run = 0; run < 15; ++run) {  // interleaved, so that load on the machine hits all alike
            wc.push_back(timeRun({"wc", "-l", file.string()}));
            entries.push_back(timeRun({cli.string(), "entries", file.string()}));
            normalize.push_back(timeRun({cli.string(), "normalize", file.string()}));
        }
        const double base = median(wc);
        bench::rowAtMost("wc -l, 100,000-line " + kind + " file (the yardstick)", base * 1000, base * 1000, "ms");
        bench::rowAtMost("entries, 100,000-line " + kind + " file", median(entries) * 1000, 10 * base * 1000, "ms");
        bench::rowAtMost("normalize, 100,000-line " + kind + " file", median(normalize) * 1000, 10 * base * 1000,
                         "ms");
    }
}

// The check of a 100,000-entry shop file with the shipped catalog, in process
// (the program's exit status tells errors, so it is not timed as a process).
void benchCheck()
{
    const vs::Catalog catalog = vs::loadDataFolder(VAULTSMITH_DATA_DIR);
    const std::string bytes = generatedFile(0);
    std::vector<double> times;
    size_t findings = 0;
    for (int run = 0; run < 5; ++run) {
        const auto start = std::chrono::steady_clock::now();
        findings = vs::checkFile(bytes, 0, catalog).size();
        times.push_back(secondsSince(start));
    }
    bench::rowAtMost("check of a 100,000-entry shop file (" + std::to_string(findings) + " findings)",
                     median(times) * 1000, 1000, "ms");
}

// 10,000 warehouses filled first-fit with catalog items (each serial used once,
// so the check finds nothing), checked by the command line in one call, then
// read and saved again in process as the editing commands do.
void benchStorages(const std::filesystem::path& cli, const std::filesystem::path& dir)
{
    const vs::Catalog catalog = vs::loadDataFolder(VAULTSMITH_DATA_DIR);
    const std::vector<std::pair<int, int>> items = bench::catalogItems(catalog);  // class, index
    std::vector<std::string> args = {cli.string(), "--data", VAULTSMITH_DATA_DIR, "storage", "check"};
    int32_t serial = 1;
    for (int n = 0; n < 10000; ++n) {
        vs::Storage storage;
        storage.form = n % 2 ? vs::StorageForm::Raw : vs::StorageForm::PrefixedHex;
        storage.contents.assign(vs::kWarehouseSlots, vs::kEmptySlot);
        std::vector<bool> taken(vs::kWarehouseSlots, false);
        for (int k = 0; k < 40; ++k) {
            const auto [cls, index] = items[static_cast<size_t>(n * 7 + k * 13) % items.size()];
            if (bench::placeFirstFit(storage, taken, catalog, cls, index, k % 13, serial))
                ++serial;
        }
        const std::filesystem::path file = dir / ("vault" + std::to_string(n) + ".txt");
        std::ofstream(file, std::ios::binary) << vs::writeStorage(storage);
        args.push_back(file.string());
    }
    std::vector<double> checks, saves;
    for (int run = 0; run < 3; ++run) {
        checks.push_back(timeRun(args));
        const Clock::time_point start = Clock::now();
        for (size_t a = 5; a < args.size(); ++a)
            vs::writeFileAtomically(args[a], vs::writeStorage(vs::readStorage(vs::readFileBytes(args[a]))));
        saves.push_back(secondsSince(start));
    }
    bench::rowAtMost("storage check of 10,000 warehouses in one call, per 1,000", median(checks) * 100, 1000, "ms");
    bench::rowAtMost("10,000 warehouses read and saved again, per 1,000", median(saves) * 100, 1000, "ms");
}

void benchVaultCodes()
{
    // Every field varies, so that nothing is folded away.
    std::vector<std::string> codes;
    constexpr int kCodes = 4096;
    vs::clsShopCode shop;
    vs::clsVaultCode vault;
    std::vector<double> encodeRates, decodeRates;
    for (int round = 0; round < 5; ++round) {
        codes.clear();
        size_t sink = 0;
        const Clock::time_point start = Clock::now();
        long count = 0;
        while (secondsSince(start) < 0.2) {
            for (int i = 0; i < kCodes; ++i, ++count) {
                shop.classIndex = static_cast<int16_t>(i % 16);
                shop.typeIndex = static_cast<int16_t>(i % 32);
                shop.level = static_cast<int16_t>(i % 13);
                shop.dur = static_cast<int16_t>(i % 256);
                shop.skill = static_cast<int16_t>(i & 1);
                shop.luck = static_cast<int16_t>((i >> 1) & 1);
                shop.optLevel = static_cast<int16_t>(i % 5);
                vault.setId(i * 7919);
                vault.setXlntOption(i % 6, (i >> 3) & 1);
                std::string code = vault.getCode(shop);
                sink += static_cast<unsigned char>(code[static_cast<size_t>(i) % 20]);
                if (codes.size() < kCodes)
                    codes.push_back(std::move(code));
            }
        }
        encodeRates.push_back(static_cast<double>(count) / secondsSince(start));
        const Clock::time_point decodeStart = Clock::now();
        count = 0;
        while (secondsSince(decodeStart) < 0.2) {
            for (const std::string& code : codes) {
                const std::optional<vs::DecodedVault> item = vs::decodeVaultCode(code);
                sink += static_cast<size_t>(item->serial + item->level);
            }
            count += kCodes;
        }
        decodeRates.push_back(static_cast<double>(count) / secondsSince(decodeStart));
        if (sink == 1)
            std::printf(" ");
    }
    bench::rowAtLeast("vault codes encoded per second (millions)", median(encodeRates) / 1e6, 10, "M/s");
    bench::rowAtLeast("vault codes decoded per second (millions)", median(decodeRates) / 1e6, 10, "M/s");
}

// 512 items and 32,767 named subtype rows, the most the table holds.
vs::Catalog fullCatalog()
{
    std::string items, subtypes;
    int rows = 0;
    for (int c = 0; c < 16; ++c) {
        items += std::to_string(c) + "\n";
        for (int t = 0; t < 32; ++t) {
            const int id = c * 32 + t;
            items += std::to_string(t) + " 1 1 0 0 0 \"Item " + std::to_string(id) + " of sword\" 0 0 0 50\n";
            subtypes += std::to_string(c) + " " + std::to_string(t) + "\n";
            const int perItem = id < 511 ? 64 : vs::kMaxSubTypes - rows;
            for (int l = 0; l < perItem && rows < vs::kMaxSubTypes; ++l, ++rows)
                subtypes += std::to_string(l % 13) + " \"Named sword of fire " + std::to_string(l) + "\"\n";
        }
    }
    vs::Catalog catalog;
    vs::loadItemCatalog(items, catalog, "items");
    vs::loadSubTypes(subtypes, catalog, "subtypes");
    return catalog;
}

void benchSearch()
{
    const vs::Catalog catalog = fullCatalog();
    struct Query {
        const char* text;
        bool words;
    };
    // A rare word, a word every name holds, and words that exclude every subtype.
    const Query queries[] = {{"item 17", false}, {"sword", false}, {"-fire item", true}};
    for (const Query& q : queries) {
        const vs::SearchQuery query = vs::prepareSearchQuery(q.text);
        std::vector<double> times;
        size_t hits = 0;
        for (int run = 0; run < 9; ++run) {
            const Clock::time_point start = Clock::now();
            hits = vs::searchCatalog(catalog, query, q.words).size();
            times.push_back(secondsSince(start));
        }
        bench::rowAtMost(std::string("search \"") + q.text + (q.words ? "\" (words)" : "\"") + " over 512 items + " +
                             std::to_string(catalog.arrSubTypes.size()) + " subtypes: " + std::to_string(hits) +
                             " hits",
                         median(times) * 1000, 5, "ms");
    }
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc < 2 || std::strcmp(argv[1], "--no-header") != 0)
        bench::printHeader();
    const std::filesystem::path bin = std::filesystem::read_symlink("/proc/self/exe").parent_path();
    char pattern[] = "/tmp/vaultsmith-bench-XXXXXX";
    if (!mkdtemp(pattern))
        return 1;
    const std::filesystem::path dir = pattern;
    benchReaderAndWriter(bin / "vaultsmith-cli", dir);
    benchStorages(bin / "vaultsmith-cli", dir);
    std::filesystem::remove_all(dir);
    benchCheck();
    benchVaultCodes();
    benchSearch();
    return 0;
}
