// The search on any typed text over the shipped catalog: at most three terms
// take part, and every hit names a catalog cell that holds an item.
#include "catalog/item_search.h"
#include "fuzz_support.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size == 0)
        return 0;
    const vs::Catalog& catalog = shippedCatalog();
    const vs::SearchQuery query = vs::prepareSearchQuery(fuzzBytes(data + 1, size - 1));
    FUZZ_CHECK(query.matchLimit < vs::kMaxSearchTerms, "at most three terms take part");
    const std::vector<vs::SearchRow> rows = vs::searchCatalog(catalog, query, (data[0] & 1) != 0);
    for (const vs::SearchRow& row : rows) {
        const vs::SearchHit hit = vs::decodeSearchRow(row.value);
        FUZZ_CHECK(hit.classIndex >= 0 && hit.classIndex < 16 && hit.typeIndex >= 0 && hit.typeIndex < 32,
                   "a hit names a catalog cell");
        FUZZ_CHECK(!row.text.empty(), "a hit has a name");
    }
    return 0;
}
