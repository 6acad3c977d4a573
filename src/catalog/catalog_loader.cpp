#include "catalog/catalog_loader.h"

#include "catalog/data_location.h"
#include "catalog/file_io.h"
#include "catalog/record_reader.h"
#include "catalog/text_utils.h"
#include "catalog/token_value.h"
#include "catalog/vault_error.h"

#include <cmath>

namespace vs {

namespace {

std::string where(std::string_view fileLabel, int line)
{
    return std::string(fileLabel) + ", line " + std::to_string(line);
}

// Calls `handle` with the tokens of every record that begins with a digit
// after its leading blanks; every other record is skipped.
template <typename Handler>
void forEachDataRecord(std::string_view bytes, std::string_view fileLabel, Handler handle)
{
    forEachFileRecord(bytes, [&](std::string_view record, int line) {
        std::string_view text = stripLeadingBlanks(record);
        if (text.empty() || !isDecimalDigit(text.front()))
            return;
        try {
            handle(readData(text));
        } catch (const VaultError& e) {
            if (!e.detail().empty())
                throw VaultError(e.kind(), e.detail() + " in " + where(fileLabel, line));
            throw VaultError(e.kind(), where(fileLabel, line));
        }
    });
}

// A quoted name without its first and last character; a one-character token
// cannot be unquoted.
std::string unquote(const std::string& token, std::string_view what)
{
    if (token.size() < 2)
        throw VaultError(ErrorKind::InvalidArgument, std::string(what) + " " + token);
    return token.substr(1, token.size() - 2);
}

}  // namespace

void loadItemCatalog(std::string_view bytes, Catalog& catalog, std::string_view fileLabel)
{
    int currentClass = -1;
    forEachDataRecord(bytes, fileLabel, [&](const TokenList& tokens) {
        if (tokens.size() == 1) {
            currentClass = toInt16(tokenValue(tokens[0]), "section header");
            return;
        }
        if (currentClass < 0)
            return;
        if (tokens.size() < 7)
            throw VaultError(ErrorKind::IndexOutOfTable,
                             "item record of " + std::to_string(tokens.size()) + " fields, 7 or more needed");
        int16_t dur = 0;
        if (tokens.size() >= 11 && currentClass != 15)
            dur = toInt16(tokenValue(tokens[10]), "durability");
        std::string name = unquote(tokens[6], "item name");
        int16_t width = toInt16(tokenValue(tokens[1]), "width");
        int16_t height = toInt16(tokenValue(tokens[2]), "height");
        clsItemProperty record = clsItemPropertyCreate(std::move(name), width, height, dur);
        if (currentClass >= kClassCount)
            throw VaultError(ErrorKind::IndexOutOfTable, "class " + std::to_string(currentClass));
        int32_t index = toInt32(tokenValue(tokens[0]), "item index");
        if (index < 0 || index >= kItemsPerClass)
            throw VaultError(ErrorKind::IndexOutOfTable, "item index " + std::to_string(index));
        catalog.arrItems[currentClass][index] = std::move(record);
    });
}

void loadSubTypes(std::string_view bytes, Catalog& catalog, std::string_view fileLabel)
{
    double currentId = -1;
    forEachDataRecord(bytes, fileLabel, [&](const TokenList& tokens) {
        if (tokens.size() < 2)
            throw VaultError(ErrorKind::IndexOutOfTable, "subtype record of one field, 2 needed");
        if (isDecimalDigit(tokens[1].front())) {
            currentId = tokenValue(tokens[0]) * 32 + tokenValue(tokens[1]);
            return;
        }
        if (catalog.arrSubTypes.size() >= static_cast<size_t>(kMaxSubTypes))
            throw VaultError(ErrorKind::NumberTooLarge,
                             "more than " + std::to_string(kMaxSubTypes) + " subtype rows");
        std::string name = unquote(tokens[1], "subtype name");
        int16_t id = toInt16(currentId, "item id");
        int16_t level = toInt16(tokenValue(tokens[0]), "level");
        catalog.arrSubTypes.push_back(clsSubTypeCreate(id, std::move(name), level));
    });
}

Catalog loadDataFolder(const std::filesystem::path& dataDir)
{
    Catalog catalog;
    std::filesystem::path itemFile = resolveDataFile(dataDir, kItemFileName);
    loadItemCatalog(readFileBytes(itemFile), catalog, itemFile.filename().string());
    std::filesystem::path subTypeFile = resolveDataFile(dataDir, kSubTypeFileName);
    loadSubTypes(readFileBytes(subTypeFile), catalog, subTypeFile.filename().string());
    return catalog;
}

}  // namespace vs
