#pragma once

#include "catalog/catalog.h"
#include "catalog/text_utils.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// Finding catalog items and named subtypes by words of their names.
namespace vs {

inline constexpr int kMaxSearchTerms = 3;

// A query as typed, made ready for a search.
struct SearchQuery {
    TokenList terms;             // lower-cased; only indexes 0..matchLimit take part
    int matchLimit = -1;         // index of the last term used; -1 when there is none
    std::optional<std::string> shortenedText;  // the query box's new text when it held more than three terms
};
SearchQuery prepareSearchQuery(std::string_view typed);

// True when the term's first character is "-".
bool excludeItem(std::string_view term);

// Number of positive terms found anywhere in the haystack; 0 as soon as an
// exclusion term's rest occurs in it.
int16_t matchByPatterns(const TokenList& searchPatterns, std::string_view haystack, int matchLimit);
// The same with whole words of the haystack.
int16_t matchByWords(const TokenList& searchWords, std::string_view haystack, int matchLimit);

struct SearchRow {
    std::string text;
    int32_t value = 0;
};

// score x 6656 + level x 512 + item id
int32_t searchRowValue(int score, int level, int itemId);

struct SearchHit {
    int level = 0;
    int classIndex = 0;
    int typeIndex = 0;
};
SearchHit decodeSearchRow(int32_t value);

// Every catalog item and named subtype whose lower-cased name scores above 0,
// in class, item index and subtype table order.
std::vector<SearchRow> scanCatalog(const Catalog& catalog, const SearchQuery& query, bool wordMode);

// Highest value first: for each position the first row below it with a strictly
// larger value than all before it is exchanged into place.
void rankSearchRows(std::vector<SearchRow>& rows);

// The whole search: scan, then rank. No terms gives no rows.
std::vector<SearchRow> searchCatalog(const Catalog& catalog, const SearchQuery& query, bool wordMode);

}  // namespace vs
