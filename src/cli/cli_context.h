#pragma once

#include "catalog/catalog.h"
#include "catalog/text_encoding.h"
#include "catalog/vault_error.h"
#include "cli/cli_args.h"
#include "check/file_check.h"
#include "document/list_reader.h"
#include "storage/storage.h"

#include <filesystem>
#include <cstdint>
#include <optional>
#include <ostream>
#include <string>
#include <utility>
#include <variant>

namespace vs {
struct Storage;
}

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
// The same for check: a file that cannot be read (code "unreadable") or whose
// name tells no kind ("unknown-kind") gives that finding, an error of line 0.
std::variant<OpenedList, Finding> tryOpenList(const std::string& file, const FileLayout* forced);

// "FILE: layout NAME (COLUMNS)", the line entries and check print on stderr.
std::string layoutNote(const std::string& file, const FileLayout& layout);

void expectPositionals(const ParsedArgs& args, size_t count, std::string_view names);

// A file given to read: its bytes, or why it cannot be read ("no such file",
// "it is a folder", the system's reason).
struct InputFile {
    std::string bytes;
    std::optional<std::string> failure;
};
InputFile readInputFile(const std::string& file);

// Replaces `target` with `bytes` through the safe writer. With --backup an
// existing target is first kept as it was beside it, as TARGET.bak (replacing
// an older one, with the target's permission bits); a failure there writes
// nothing. UsageError when either write fails.
void replaceFile(const Context& ctx, const std::string& target, std::string_view bytes);

// A JSON string. Text that is not UTF-8 is taken byte for byte as Latin-1.
std::string jsonString(std::string_view text);

// One JSON object, its fields in the order they are added: {"a": 1, "b": "x"}.
class JsonObject {
public:
    JsonObject& text(std::string_view name, std::string_view value);
    JsonObject& number(std::string_view name, int64_t value);
    // The number, or null when there is none.
    JsonObject& number(std::string_view name, std::optional<int64_t> value);
    JsonObject& null(std::string_view name);
    // A value already written as JSON.
    JsonObject& raw(std::string_view name, std::string_view json);
    std::string str() const { return json_ + "}"; }

private:
    JsonObject& key(std::string_view name);
    std::string json_ = "{";
};

// One JSON array of objects, one a line: "[\n  {...},\n  {...}\n]\n", or
// "[]\n" without any. The text is taken as it grows, so that a long array
// need not be held whole.
class JsonArray {
public:
    void add(const JsonObject& object);
    // The text added since the last take.
    std::string take() { return std::exchange(text_, std::string()); }
    // The rest of the text, closing the array.
    std::string close();
    size_t pending() const { return text_.size(); }

private:
    std::string text_ = "[";
    bool empty_ = true;
};

// Whose storage a command is about: exactly one of --account NAME (a
// warehouse) and --character NAME (an inventory); `option` is the one given.
struct StorageOwner {
    StorageKind kind;
    std::string name;
    const char* option;
};
StorageOwner storageOwner(const Context& ctx);

// A storage's items, one a line (SLOT X Y CODE NAME), or with --json one JSON array.
void printStorageList(const Context& ctx, const Storage& storage, const Catalog& catalog);

int runCheck(const Context& ctx);
int runGrid(const Context& ctx);
int runStorage(const Context& ctx);
int runDatabase(const Context& ctx);

}  // namespace vs::cli
