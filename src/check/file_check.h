#pragma once

#include "document/file_layout.h"
#include "document/list_entry.h"

#include <functional>
#include <optional>
#include <string>
#include <string_view>
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
    // Asked now and then with the number of entries checked; false stops the
    // check, which then returns what it found so far.
    std::function<bool(size_t done)> keepGoing;
};

// Checks a list of entries of a document in the layout; `lines` gives each
// entry's 1-based line. Each item line is checked against the layout's columns
// (their count and ranges); a shop's items after its "end", and in a file in
// sections the sections themselves (known numbers, each closed by "end", the
// column count of settings rows, items only inside the section of items).
// Findings come in line order.
std::vector<Finding> checkEntries(const EntryList& entries, const std::vector<int>& lines, const FileLayout& layout,
                                  const Catalog& catalog, const CheckOptions& options = {});
inline std::vector<Finding> checkEntries(const EntryList& entries, const std::vector<int>& lines, int editMode,
                                         const Catalog& catalog, const CheckOptions& options = {})
{
    return checkEntries(entries, lines, specLayout(editMode), catalog, options);
}

// Checks a file as read: entries that share a line through a comma share its
// number. Bytes that are no text (notTextReason) give one "not-text" finding on
// line 1 and nothing else.
std::vector<Finding> checkListFile(const struct ListFile& file, const FileLayout& layout, const Catalog& catalog,
                                   const CheckOptions& options = {});
inline std::vector<Finding> checkListFile(const struct ListFile& file, int editMode, const Catalog& catalog,
                                          const CheckOptions& options = {})
{
    return checkListFile(file, specLayout(editMode), catalog, options);
}

// Checks a file's bytes as checkListFile does.
std::vector<Finding> checkFile(std::string bytes, const FileLayout& layout, const Catalog& catalog,
                               const CheckOptions& options = {});
inline std::vector<Finding> checkFile(std::string bytes, int editMode, const Catalog& catalog,
                                      const CheckOptions& options = {})
{
    return checkFile(std::move(bytes), specLayout(editMode), catalog, options);
}

std::string_view severityName(Finding::Severity severity);

// The one finding for bytes that are no text (on line 1), or none: such a file
// is not checked line by line.
std::optional<Finding> notTextFinding(std::string_view bytes);

}  // namespace vs
