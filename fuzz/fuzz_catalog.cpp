// Both catalog loaders on any bytes: they load or raise the project's own
// error (VaultError); any other exception or a crash is a fault. What loads
// stays within the catalog's bounds.
#include "catalog/catalog.h"
#include "catalog/catalog_loader.h"
#include "catalog/vault_error.h"
#include "fuzz_support.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const std::string_view bytes = fuzzBytes(data, size);
    {
        vs::Catalog catalog;
        try {
            vs::loadItemCatalog(bytes, catalog, "item(Kor).txt");
        } catch (const vs::VaultError& e) {
            FUZZ_CHECK(!e.description().empty(), "an error describes itself");
        }
    }
    {
        vs::Catalog catalog;
        try {
            vs::loadSubTypes(bytes, catalog, "subtypes.txt");
            FUZZ_CHECK(catalog.arrSubTypes.size() <= static_cast<size_t>(vs::kMaxSubTypes),
                       "no more subtype rows than the table holds");
        } catch (const vs::VaultError& e) {
            FUZZ_CHECK(!e.description().empty(), "an error describes itself");
        }
    }
    return 0;
}
