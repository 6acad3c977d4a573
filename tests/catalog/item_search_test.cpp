#include "catalog/catalog_loader.h"
#include "catalog/item_search.h"

#include <gtest/gtest.h>
#include <random>

namespace vs {
namespace {

TokenList terms(std::string_view typed)
{
    return prepareSearchQuery(typed).terms;
}

TEST(MatchByPatterns, CountsPositiveTermsOnce)
{
    EXPECT_EQ(matchByPatterns(terms("axe"), "battle axe", 0), 1);
    EXPECT_EQ(matchByPatterns(terms("axe"), "taxes", 0), 1);
    EXPECT_EQ(matchByPatterns(terms("a a"), "axe", 1), 2) << "each term counts";
    EXPECT_EQ(matchByPatterns(terms("battle axe z"), "battle axe", 2), 2);
    EXPECT_EQ(matchByPatterns(terms("battle axe z"), "battle axe", 0), 1) << "matchLimit bounds the terms";
}

TEST(MatchByPatterns, ExclusionWinsAtOnce)
{
    EXPECT_EQ(matchByPatterns(terms("sword -short"), "short sword", 1), 0);
    EXPECT_EQ(matchByPatterns(terms("sword -short"), "long sword", 1), 1);
    EXPECT_EQ(matchByPatterns(terms("-"), "anything", 0), 0) << "a lone minus excludes everything";
}

TEST(MatchByWords, WholeWordsOnly)
{
    EXPECT_EQ(matchByWords(terms("axe"), "battle axe", 0), 1);
    EXPECT_EQ(matchByWords(terms("axe"), "taxes", 0), 0);
    EXPECT_EQ(matchByWords(terms("axe -battle"), "battle axe", 1), 0);
    EXPECT_EQ(matchByWords(terms("axe -"), "battle axe", 1), 1) << "a lone minus has no effect";
    EXPECT_EQ(matchByWords(terms("axe"), "", 0), 0);
}

TEST(PrepareSearchQuery, LowerCasesAndKeepsThreeTerms)
{
    SearchQuery q = prepareSearchQuery("Small Axe of Doom");
    EXPECT_EQ(q.terms[0], "small");
    EXPECT_EQ(q.matchLimit, 2);
    ASSERT_TRUE(q.shortenedText.has_value());
    EXPECT_EQ(*q.shortenedText, "small axe of ");

    SearchQuery two = prepareSearchQuery("Axe  \"x y\"");
    EXPECT_EQ(two.matchLimit, 1);
    EXPECT_EQ(two.terms[1], "\"x y\"");
    EXPECT_FALSE(two.shortenedText.has_value());

    EXPECT_EQ(prepareSearchQuery(" \t").matchLimit, -1);
}

TEST(SearchRowValue, EncodesAndDecodes)
{
    int32_t v = searchRowValue(3, 12, 15 * 32 + 31);
    EXPECT_EQ(v, 3 * 6656 + 12 * 512 + 511);
    SearchHit hit = decodeSearchRow(v);
    EXPECT_EQ(hit.level, 12);
    EXPECT_EQ(hit.classIndex, 15);
    EXPECT_EQ(hit.typeIndex, 31);
}

TEST(RankSearchRows, HighestFirstWithTheSelectionExchange)
{
    std::vector<SearchRow> rows = {{"a", 5}, {"b", 9}, {"c", 5}, {"d", 9}, {"e", 7}};
    rankSearchRows(rows);
    std::string order;
    for (const auto& r : rows)
        order += r.text;
    // 9s: b then d; 7: e; the exchanges leave the two 5s as a, c.
    EXPECT_EQ(order, "bdeac");
}

TEST(RankSearchRows, SameOrderAsTheSelectionExchangeOnManyTies)
{
    // The plain selection sort the ranking must agree with, row for row.
    auto reference = [](std::vector<SearchRow> rows) {
        for (size_t i = 0; i < rows.size(); ++i) {
            size_t best = i;
            for (size_t j = i + 1; j < rows.size(); ++j)
                if (rows[j].value > rows[best].value)
                    best = j;
            std::swap(rows[i], rows[best]);
        }
        return rows;
    };
    std::mt19937 random(12345);
    for (int round = 0; round < 200; ++round) {
        std::vector<SearchRow> rows(random() % 70);
        for (size_t i = 0; i < rows.size(); ++i)
            rows[i] = {std::to_string(i), static_cast<int32_t>(random() % 6)};
        std::vector<SearchRow> expected = reference(rows);
        rankSearchRows(rows);
        for (size_t i = 0; i < rows.size(); ++i)
            ASSERT_EQ(rows[i].text, expected[i].text) << "round " << round << ", row " << i;
    }
}

class CatalogSearch : public ::testing::Test {
protected:
    void SetUp() override
    {
        loadItemCatalog("0\n"
                        "0 1 3 0 0 0 \"Short Sword\"\n"
                        "1 1 3 0 0 0 \"Long Sword\"\n"
                        "1\n"
                        "2 1 3 0 0 0 \"Battle Axe\"\n"
                        "3 1 3 0 0 0 \"Taxes\"\n",
                        catalog, "items");
        loadSubTypes("0 1\n9 \"Long Sword of Dawn\"\n", catalog, "subtypes");
    }
    std::vector<std::string> names(std::string_view typed, bool words)
    {
        std::vector<std::string> out;
        for (const SearchRow& row : searchCatalog(catalog, prepareSearchQuery(typed), words))
            out.push_back(row.text);
        return out;
    }
    Catalog catalog;
};

TEST_F(CatalogSearch, PatternAndWordModes)
{
    EXPECT_EQ(names("axe", false), (std::vector<std::string>{"Taxes", "Battle Axe"}));
    EXPECT_EQ(names("axe", true), (std::vector<std::string>{"Battle Axe"}));
}

TEST_F(CatalogSearch, SubtypeOfAHigherLevelStandsAboveThePlainItem)
{
    EXPECT_EQ(names("SWORD -short", false),
              (std::vector<std::string>{"Long Sword of Dawn", "Long Sword"}));
}

TEST_F(CatalogSearch, HigherScoreFirstAndRowValuesDecode)
{
    auto rows = searchCatalog(catalog, prepareSearchQuery("long dawn"), false);
    ASSERT_EQ(rows.size(), 2u);
    EXPECT_EQ(rows[0].text, "Long Sword of Dawn");
    EXPECT_EQ(rows[0].value, searchRowValue(2, 9, 1));
    EXPECT_EQ(rows[1].value, searchRowValue(1, 0, 1));
}

TEST_F(CatalogSearch, NoTermsNoRows)
{
    EXPECT_TRUE(names("  ", false).empty());
    EXPECT_TRUE(names("\"sword\"", false).empty()) << "quoted terms keep their quotes";
}

}  // namespace
}  // namespace vs
