#include "catalog/item_search.h"

namespace vs {

SearchQuery prepareSearchQuery(std::string_view typed)
{
    SearchQuery query;
    query.terms = readData(toLowerAscii(typed));
    if (query.terms.empty())
        return query;
    query.matchLimit = static_cast<int>(query.terms.size()) - 1;
    if (query.terms.size() > static_cast<size_t>(kMaxSearchTerms)) {
        query.matchLimit = kMaxSearchTerms - 1;
        std::string text;
        for (int i = 0; i < kMaxSearchTerms; ++i)
            text += query.terms[i] + " ";
        query.shortenedText = std::move(text);
    }
    return query;
}

bool excludeItem(std::string_view term)
{
    return strAreEqual(term.substr(0, 1), "-");
}

namespace {
int lastIndex(const TokenList& terms, int matchLimit)
{
    return std::min(matchLimit, static_cast<int>(terms.size()) - 1);
}
}  // namespace

int16_t matchByPatterns(const TokenList& searchPatterns, std::string_view haystack, int matchLimit)
{
    int16_t count = 0;
    for (int i = 0; i <= lastIndex(searchPatterns, matchLimit); ++i) {
        const std::string& term = searchPatterns[i];
        if (excludeItem(term)) {
            if (haystack.find(strRight(term, -1)) != std::string_view::npos)
                return 0;
        } else if (haystack.find(term) != std::string_view::npos) {
            ++count;
        }
    }
    return count;
}

int16_t matchByWords(const TokenList& searchWords, std::string_view haystack, int matchLimit)
{
    const TokenList words = readData(haystack);
    int16_t count = 0;
    for (int i = 0; i <= lastIndex(searchWords, matchLimit); ++i) {
        const std::string& term = searchWords[i];
        const bool excluding = excludeItem(term);
        const std::string rest = excluding ? strRight(term, -1) : std::string();
        bool found = false;
        for (const std::string& w : words) {
            if (excluding && strAreEqual(w, rest))
                return 0;
            if (!excluding)
                found = found || strAreEqual(term, w);
        }
        if (found)
            ++count;
    }
    return count;
}

int32_t searchRowValue(int score, int level, int itemId)
{
    return score * 6656 + level * 512 + itemId;
}

SearchHit decodeSearchRow(int32_t value)
{
    SearchHit hit;
    hit.level = (value % 6656) / 512;
    hit.classIndex = (value % 512) / 32;
    hit.typeIndex = value % 32;
    return hit;
}

std::vector<SearchRow> scanCatalog(const Catalog& catalog, const SearchQuery& query, bool wordMode)
{
    std::vector<SearchRow> rows;
    if (query.terms.empty())
        return rows;
    auto score = [&](const std::string& name) {
        const std::string haystack = toLowerAscii(name);
        return wordMode ? matchByWords(query.terms, haystack, query.matchLimit)
                        : matchByPatterns(query.terms, haystack, query.matchLimit);
    };
    for (int c = 0; c < kClassCount; ++c) {
        for (int t = 0; t < kItemsPerClass; ++t) {
            const clsItemProperty* item = catalog.item(c, t);
            if (!item)
                continue;
            const int16_t id = makeId(c, t);
            if (int s = score(item->name); s > 0)
                rows.push_back({item->name, searchRowValue(s, 0, id)});
            if (!catalog.hasSubTypes(id))
                continue;
            for (const clsSubTypeProperty& sub : catalog.arrSubTypes) {
                if (sub.id != id)
                    continue;
                if (int s = score(sub.name); s > 0)
                    rows.push_back({sub.name, searchRowValue(s, sub.level, id)});
            }
        }
    }
    return rows;
}

void rankSearchRows(std::vector<SearchRow>& rows)
{
    for (size_t i = 0; i < rows.size(); ++i) {
        size_t best = i;
        for (size_t j = i + 1; j < rows.size(); ++j)
            if (rows[j].value > rows[best].value)
                best = j;
        if (best != i)
            std::swap(rows[i], rows[best]);
    }
}

std::vector<SearchRow> searchCatalog(const Catalog& catalog, const SearchQuery& query, bool wordMode)
{
    std::vector<SearchRow> rows = scanCatalog(catalog, query, wordMode);
    rankSearchRows(rows);
    return rows;
}

}  // namespace vs
