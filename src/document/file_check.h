#pragma once

#include "document/list_entry.h"

#include <string>
#include <vector>

namespace vs {

class Catalog;

// One thing the server would make of a line differently from what its author
// likely meant.
struct Finding {
    enum class Severity { Error, Warning };
    int line = 0;  // 1-based
    Severity severity = Severity::Error;
    std::string code;  // stable, for scripts: "unknown-item", "not-sold", ...
    std::string message;
};

struct CheckOptions {
    bool names = false;  // also: a comment that does not hold the item's display name
};

// Checks a list of entries of a shop (editMode 0) or item-bag (1) document;
// `lines` gives each entry's 1-based line. Findings come in line order.
std::vector<Finding> checkEntries(const EntryList& entries, const std::vector<int>& lines, int editMode,
                                  const Catalog& catalog, const CheckOptions& options = {});

// Checks a file as read: entries that share a line through a comma share its number.
std::vector<Finding> checkListFile(const struct ListFile& file, int editMode, const Catalog& catalog,
                                   const CheckOptions& options = {});

// Checks a file's bytes as checkListFile does.
std::vector<Finding> checkFile(std::string bytes, int editMode, const Catalog& catalog,
                               const CheckOptions& options = {});

std::string_view severityName(Finding::Severity severity);

}  // namespace vs
