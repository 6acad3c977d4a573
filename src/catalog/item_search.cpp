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
            if (haystack.find(std::string_view(term).substr(1)) != std::string_view::npos)
                return 0;
        } else if (haystack.find(term) != std::string_view::npos) {
            ++count;
        }
    }
    return count;
}

int16_t matchByWords(const TokenList& searchWords, std::string_view haystack, int matchLimit)
{
    // The words are the haystack's tokens; an excluded word anywhere gives 0.
    int16_t count = 0;
    for (int i = 0; i <= lastIndex(searchWords, matchLimit); ++i) {
        const std::string& term = searchWords[i];
        const bool excluding = excludeItem(term);
        const std::string_view wanted = excluding ? std::string_view(term).substr(1) : std::string_view(term);
        bool found = false;
        forEachToken(haystack, [&](std::string_view word) { found = found || word == wanted; });
        if (found && excluding)
            return 0;
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
    std::string haystack;  // one buffer for every lower-cased name
    auto score = [&](const std::string& name) {
        haystack.assign(name);
        lowerAsciiInPlace(haystack);
        return wordMode ? matchByWords(query.terms, haystack, query.matchLimit)
                        : matchByPatterns(query.terms, haystack, query.matchLimit);
    };
    // The subtype rows of each catalog item id, in table order, gathered in one pass.
    std::vector<std::vector<const clsSubTypeProperty*>> subTypesOf(kClassCount * kItemsPerClass);
    for (const clsSubTypeProperty& sub : catalog.arrSubTypes)
        if (sub.id >= 0 && sub.id < kClassCount * kItemsPerClass)
            subTypesOf[sub.id].push_back(&sub);
    for (int c = 0; c < kClassCount; ++c) {
        for (int t = 0; t < kItemsPerClass; ++t) {
            const clsItemProperty* item = catalog.item(c, t);
            if (!item)
                continue;
            const int16_t id = makeId(c, t);
            if (int s = score(item->name); s > 0)
                rows.push_back({item->name, searchRowValue(s, 0, id)});
            for (const clsSubTypeProperty* sub : subTypesOf[id])
                if (int s = score(sub->name); s > 0)
                    rows.push_back({sub->name, searchRowValue(s, sub->level, id)});
        }
    }
    return rows;
}

namespace {

// Finds, among rows i..n-1, the first row holding the largest value, and follows
// exchanges of rows; each step costs O(log n).
class LeftmostMaxTree {
public:
    explicit LeftmostMaxTree(const std::vector<SearchRow>& rows) : size_(1)
    {
        while (size_ < rows.size())
            size_ *= 2;
        best_.assign(2 * size_, kNone);
        values_.resize(rows.size());
        for (size_t i = 0; i < rows.size(); ++i) {
            values_[i] = rows[i].value;
            best_[size_ + i] = i;
        }
        for (size_t node = size_ - 1; node >= 1; --node)
            pull(node);
    }
    void set(size_t i, int32_t value)
    {
        values_[i] = value;
        for (size_t node = (size_ + i) / 2; node >= 1; node /= 2)
            pull(node);
    }
    // Leftmost index of the largest value in [from, end).
    size_t leftmostMaxFrom(size_t from) const
    {
        size_t result = kNone;
        // Walk up from the leaf: the left parts come in order, the right parts
        // in reverse; together they cover [from, end) from left to right.
        size_t lo = size_ + from, hi = 2 * size_;
        size_t rightParts[8 * sizeof(size_t)];
        size_t rightCount = 0;
        for (; lo < hi; lo /= 2, hi /= 2) {
            if (lo & 1)
                result = better(result, best_[lo++]);
            if (hi & 1)
                rightParts[rightCount++] = --hi;
        }
        while (rightCount > 0)
            result = better(result, best_[rightParts[--rightCount]]);
        return result;
    }

private:
    static constexpr size_t kNone = static_cast<size_t>(-1);
    size_t better(size_t a, size_t b) const
    {
        if (a == kNone)
            return b;
        if (b == kNone)
            return a;
        return values_[b] > values_[a] ? b : a;  // ties keep the earlier index
    }
    void pull(size_t node) { best_[node] = better(best_[2 * node], best_[2 * node + 1]); }

    size_t size_;
    std::vector<size_t> best_;
    std::vector<int32_t> values_;
};

}  // namespace

void rankSearchRows(std::vector<SearchRow>& rows)
{
    // A selection sort: position i takes the first row at or below it with the
    // strictly largest value, by exchange. The tree gives the same choices in
    // O(n log n) instead of O(n^2).
    if (rows.size() < 2)
        return;
    LeftmostMaxTree tree(rows);
    for (size_t i = 0; i + 1 < rows.size(); ++i) {
        size_t best = tree.leftmostMaxFrom(i);
        if (best == i)
            continue;
        std::swap(rows[i], rows[best]);
        tree.set(i, rows[i].value);
        tree.set(best, rows[best].value);
    }
}

std::vector<SearchRow> searchCatalog(const Catalog& catalog, const SearchQuery& query, bool wordMode)
{
    std::vector<SearchRow> rows = scanCatalog(catalog, query, wordMode);
    rankSearchRows(rows);
    return rows;
}

}  // namespace vs
