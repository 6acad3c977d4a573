// Speed of the work an operator waits for: start-up's data load, a search,
// opening and saving a list file, composing codes.
#include "catalog/catalog_loader.h"
#include "catalog/file_io.h"
#include "catalog/item_search.h"
#include "codes/vault_code.h"
#include "document/list_reader.h"
#include "document/list_writer.h"

#include <benchmark/benchmark.h>
#include <filesystem>

namespace {

void BM_LoadShippedData(benchmark::State& state)
{
    for (auto _ : state)
        benchmark::DoNotOptimize(vs::loadDataFolder(VAULTSMITH_DATA_DIR));
}
BENCHMARK(BM_LoadShippedData);

// A catalog with every cell filled and a large subtype table.
vs::Catalog fullCatalog(int subtypesPerItem)
{
    std::string items, subtypes;
    for (int c = 0; c < 16; ++c) {
        items += std::to_string(c) + "\n";
        for (int t = 0; t < 32; ++t) {
            items += std::to_string(t) + " 1 1 0 0 0 \"Item " + std::to_string(c * 32 + t) + " of sword\" 0 0 0 50\n";
            subtypes += std::to_string(c) + " " + std::to_string(t) + "\n";
            for (int l = 0; l < subtypesPerItem; ++l)
                subtypes += std::to_string(l % 13) + " \"Named sword " + std::to_string(l) + "\"\n";
        }
    }
    vs::Catalog catalog;
    vs::loadItemCatalog(items, catalog, "items");
    vs::loadSubTypes(subtypes, catalog, "subtypes");
    return catalog;
}

void BM_SearchFullCatalog(benchmark::State& state)
{
    const vs::Catalog catalog = fullCatalog(static_cast<int>(state.range(0)));
    const vs::SearchQuery query = vs::prepareSearchQuery("sword -item");
    const vs::SearchQuery hits = vs::prepareSearchQuery("sword");
    for (auto _ : state) {
        benchmark::DoNotOptimize(vs::searchCatalog(catalog, query, false));
        benchmark::DoNotOptimize(vs::searchCatalog(catalog, hits, state.range(1) != 0));
    }
    state.counters["subtype rows"] = static_cast<double>(catalog.arrSubTypes.size());
}
BENCHMARK(BM_SearchFullCatalog)->Args({0, 0})->Args({4, 0})->Args({4, 1})->Args({12, 0});

void BM_OpenAndSaveCorpus(benchmark::State& state)
{
    std::vector<std::pair<std::string, int>> files;
    std::error_code ec;
    for (const auto& entry : std::filesystem::directory_iterator(VAULTSMITH_CORPUS_DIR, ec)) {
        std::string name = entry.path().filename().string();
        files.emplace_back(vs::readFileBytes(entry.path()), name.find("shop") != std::string::npos ? 0 : 1);
    }
    if (files.empty()) {
        state.SkipWithError("corpus not found");
        return;
    }
    size_t bytes = 0;
    for (auto _ : state)
        for (const auto& [content, mode] : files) {
            const vs::ListFile list = vs::readListFile(content, mode);
            std::string saved = vs::writeListFile(list.entries, mode, list.source.get());
            bytes += content.size();
            benchmark::DoNotOptimize(saved);
        }
    state.SetBytesProcessed(static_cast<int64_t>(bytes));
}
BENCHMARK(BM_OpenAndSaveCorpus);

void BM_VaultCode(benchmark::State& state)
{
    vs::clsShopCode shop;
    shop.classIndex = 8;
    shop.typeIndex = 20;
    shop.optLevel = 4;
    vs::clsVaultCode vault;
    vault.setId(123456);
    for (auto _ : state)
        benchmark::DoNotOptimize(vault.getCode(shop));
}
BENCHMARK(BM_VaultCode);

}  // namespace

BENCHMARK_MAIN();
