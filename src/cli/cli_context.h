#pragma once

#include "catalog/catalog.h"
#include "catalog/text_encoding.h"
#include "catalog/vault_error.h"
#include "cli/cli_args.h"
#include "document/list_reader.h"

#include <filesystem>
#include <optional>
#include <ostream>

namespace vs::cli {

// Thrown when the data files fail to load: exit status 1.
struct DataLoadFailure {
    VaultError error;
};

// What a command runs with.
struct Context {
    ParsedArgs args;
    std::ostream& out;
    std::ostream& err;
    std::filesystem::path programDir;
    // The code page given by --encoding: texts are printed as UTF-8. Without
    // it, texts are printed as the bytes they are.
    std::optional<TextEncoding> encoding;

    // The data files from --data or the default folder; DataLoadFailure when they fail.
    Catalog loadCatalog() const;
};

struct OpenedList {
    ListFile file;
    int editMode = 0;
    const FileLayout* layout = nullptr;
};

// The layout --layout names, or none when the option is not given; UsageError
// for a name no layout has.
const FileLayout* chosenLayout(const ParsedArgs& args);

// Reads a shop or item-bag file as File > Open does, in the layout `forced`
// or else the one told from the file; UsageError when its name tells no kind
// or it cannot be read.
OpenedList openList(const std::string& file, const FileLayout* forced = nullptr);

// "FILE: layout NAME (COLUMNS)", the line entries and check print on stderr.
std::string layoutNote(const std::string& file, const FileLayout& layout);

void expectPositionals(const ParsedArgs& args, size_t count, std::string_view names);

int runCheck(const Context& ctx);
int runGrid(const Context& ctx);
int runStorage(const Context& ctx);

}  // namespace vs::cli
