#include "catalog/catalog_loader.h"
#include "catalog/startup_message.h"
#include "catalog/vault_error.h"
#include "catalog/failure_cases.h"
#include "test_support.h"

#include <gtest/gtest.h>
#include <set>

namespace vs {
namespace {

Catalog items(std::string_view bytes)
{
    Catalog catalog;
    loadItemCatalog(bytes, catalog, "item(Kor).txt");
    return catalog;
}

Catalog subtypes(std::string_view bytes)
{
    Catalog catalog;
    loadSubTypes(bytes, catalog, "subtypes.txt");
    return catalog;
}

const std::string kSample = "3\t1\t2\t0\t0\t0\t\"Sample Blade\"\t0\t0\t0\t25";

TEST(ItemLoader, StoresNameSizeAndDurability)
{
    Catalog catalog = items("0\r\n" + kSample + "\r\nend\r\n");
    const clsItemProperty* item = catalog.item(0, 3);
    ASSERT_NE(item, nullptr);
    EXPECT_EQ(item->name, "Sample Blade");
    EXPECT_EQ(item->width, 1);
    EXPECT_EQ(item->height, 2);
    EXPECT_EQ(item->dur, 25);
}

TEST(ItemLoader, DurabilityIsZeroInClass15AndWithoutAnEleventhToken)
{
    EXPECT_EQ(items("15\n" + kSample).item(15, 3)->dur, 0);
    EXPECT_EQ(items("2\n3 1 2 0 0 0 \"Ten\" 0 0 0").item(2, 3)->dur, 0);
}

TEST(ItemLoader, LaterRecordReplacesEarlierAndHeadersSwitchClasses)
{
    Catalog catalog = items("0\n1 1 1 0 0 0 \"First\"\n1 1 1 0 0 0 \"Second\"\n  7\n2 1 1 0 0 0 \"Helm\"");
    EXPECT_EQ(catalog.item(0, 1)->name, "Second");
    EXPECT_EQ(catalog.item(7, 2)->name, "Helm");
}

TEST(ItemLoader, RecordsBeforeAHeaderOrUnderANegativeOneAreIgnored)
{
    Catalog catalog = items(kSample + "\n-1\n" + kSample);
    for (int c = 0; c < kClassCount; ++c)
        for (int t = 0; t < kItemsPerClass; ++t)
            EXPECT_FALSE(catalog.itemExist(c, t));
}

TEST(ItemLoader, SkipsCommentsAndTextAndSplitsAtCommas)
{
    Catalog catalog = items("//12 not a header\nend\nheading\n\n1,2\n" + kSample);
    EXPECT_TRUE(catalog.itemExist(2, 3)) << "1,2 is two headers; the second one counts";
    EXPECT_FALSE(catalog.itemExist(12, 3));
}

TEST(ItemLoader, EmptyFileLeavesTheCatalogEmpty)
{
    Catalog catalog = items("");
    EXPECT_FALSE(catalog.itemExist(0, 0));
}

TEST(ItemLoader, LeadingTabsAreDroppedLikeSpaces)
{
    Catalog catalog = items("\t4\n\t \t5 1 1 0 0 0 \"Bow\"");
    EXPECT_EQ(catalog.item(4, 5)->name, "Bow");
}

class LoaderFailure : public ::testing::TestWithParam<test::FailureCase> {};

TEST_P(LoaderFailure, RaisesTheTypedError)
{
    const test::FailureCase& c = GetParam();
    try {
        Catalog catalog;
        loadItemCatalog(c.itemBytes, catalog, "item(Kor).txt");
        loadSubTypes(c.subtypeBytes, catalog, "subtypes.txt");
        FAIL() << "no failure";
    } catch (const VaultError& e) {
        EXPECT_EQ(e.kind(), c.kind) << e.what();
        EXPECT_NE(std::string(e.what()).find("line"), std::string::npos) << e.what();
    }
}

INSTANTIATE_TEST_SUITE_P(FailureTable, LoaderFailure, ::testing::ValuesIn(test::loaderFailureCases()),
                         [](const auto& info) { return std::string(info.param.label); });

TEST(SubtypeLoader, HeaderRowsSetTheItemIdForTheRowsBelow)
{
    Catalog catalog = subtypes("\"x\" 1 \"Orphan\"\n1 \"Orphan Too\"\n13 8\r\n1 \"Ring A\"\n2\t\"Ring B\" extra");
    ASSERT_EQ(catalog.arrSubTypes.size(), 3u);
    EXPECT_EQ(catalog.arrSubTypes[0].id, -1);
    EXPECT_EQ(catalog.arrSubTypes[0].name, "Orphan Too");
    EXPECT_EQ(catalog.arrSubTypes[1].id, 424);
    EXPECT_EQ(catalog.arrSubTypes[1].level, 1);
    EXPECT_EQ(catalog.arrSubTypes[1].name, "Ring A");
    EXPECT_EQ(catalog.arrSubTypes[2].level, 2);
    EXPECT_EQ(catalog.arrSubTypes[2].name, "Ring B");
}

TEST(SubtypeLoader, UnquotedNameLosesItsEnds)
{
    Catalog catalog = subtypes("0 1\n1 Ring of Ice");
    EXPECT_EQ(catalog.arrSubTypes.at(0).name, "in");
}

TEST(SubtypeLoader, EmptyOrCommentOnlyFileGivesNoRows)
{
    EXPECT_TRUE(subtypes("").arrSubTypes.empty());
    EXPECT_TRUE(subtypes("// nothing\r\n// here\r\n").arrSubTypes.empty());
}

TEST(SubtypeLoader, MoreThan32767RowsIsTooLarge)
{
    std::string bytes = "0 0\n";
    for (int i = 0; i < kMaxSubTypes; ++i)
        bytes += "1 \"n\"\n";
    Catalog catalog;
    EXPECT_NO_THROW(loadSubTypes(bytes, catalog, "subtypes.txt"));
    EXPECT_EQ(catalog.arrSubTypes.size(), static_cast<size_t>(kMaxSubTypes));
    try {
        loadSubTypes("0 0\n1 \"one too many\"", catalog, "subtypes.txt");
        FAIL() << "no failure";
    } catch (const VaultError& e) {
        EXPECT_EQ(e.kind(), ErrorKind::NumberTooLarge);
    }
}

TEST(DataFolder, LoadsBothFilesWhateverTheirLetterCase)
{
    test::TempDir dir;
    dir.write("ITEM(KOR).TXT", "0\n" + kSample);
    dir.write("SubTypes.TXT", "0 3\n1 \"Sample Blade+\"");
    Catalog catalog = loadDataFolder(dir.path());
    EXPECT_TRUE(catalog.itemExist(0, 3));
    EXPECT_EQ(catalog.arrSubTypes.size(), 1u);
}

TEST(DataFolder, MissingItemFileFailsBeforeTheSubtypeFile)
{
    test::TempDir dir;
    dir.write("subtypes.txt", "1");  // would fail if it were read
    try {
        loadDataFolder(dir.path());
        FAIL() << "no failure";
    } catch (const VaultError& e) {
        EXPECT_EQ(e.kind(), ErrorKind::FileNotFound);
        EXPECT_NE(std::string(e.what()).find("item(Kor).txt"), std::string::npos);
    }
}

TEST(DataFolder, MissingSubtypeFileFailsAfterTheCatalogWasRead)
{
    test::TempDir dir;
    dir.write("item(Kor).txt", "0\n" + kSample);
    try {
        loadDataFolder(dir.path());
        FAIL() << "no failure";
    } catch (const VaultError& e) {
        EXPECT_EQ(e.kind(), ErrorKind::FileNotFound);
        EXPECT_NE(std::string(e.what()).find("subtypes.txt"), std::string::npos);
    }
}

TEST(DataFolder, AFolderInPlaceOfAFileIsNotFound)
{
    test::TempDir dir;
    std::filesystem::create_directory(dir.path() / "item(Kor).txt");
    EXPECT_THROW(loadDataFolder(dir.path()), VaultError);
}

TEST(StartupMessage, HasTheExactSpacing)
{
    VaultError error(ErrorKind::FileNotFound, "data/item(Kor).txt");
    EXPECT_EQ(startupFailureText(error),
              "Error reading a required data file.  Program will terminate.\r\n"
              "   Error:53, file not found (data/item(Kor).txt)\r\n"
              "   Make sure data files exist and have proper format. ");
    EXPECT_EQ(startupFailureText(VaultError(ErrorKind::IndexOutOfTable), "\n"),
              "Error reading a required data file.  Program will terminate.\n"
              "   Error:9, index outside a table\n"
              "   Make sure data files exist and have proper format. ");
}

TEST(StartupMessage, TheFourKindsAreToldApart)
{
    std::set<int> numbers;
    std::set<std::string> texts;
    for (ErrorKind kind : {ErrorKind::FileNotFound, ErrorKind::IndexOutOfTable, ErrorKind::NumberTooLarge,
                           ErrorKind::InvalidArgument}) {
        VaultError e(kind);
        numbers.insert(e.number());
        texts.insert(e.description());
    }
    EXPECT_EQ(numbers.size(), 4u);
    EXPECT_EQ(texts.size(), 4u);
}

}  // namespace
}  // namespace vs
