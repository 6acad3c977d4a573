#pragma once

#include "catalog/catalog_loader.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>

// A property a fuzz target holds every input to: when it fails, the target
// stops with the message, and libFuzzer keeps the input as a crash.
#define FUZZ_CHECK(condition, what)                                                   \
    do {                                                                              \
        if (!(condition)) {                                                           \
            std::fprintf(stderr, "fuzz check failed: %s (%s:%d)\n", what, __FILE__, __LINE__); \
            std::abort();                                                             \
        }                                                                             \
    } while (0)

inline std::string_view fuzzBytes(const uint8_t* data, size_t size)
{
    return {reinterpret_cast<const char*>(data), size};
}

// The default data shipped with the program, loaded once.
inline const vs::Catalog& shippedCatalog()
{
    static const vs::Catalog catalog = vs::loadDataFolder(VAULTSMITH_DATA_DIR);
    return catalog;
}
