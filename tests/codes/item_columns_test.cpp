// One column of an entry changed in place: every other byte stays, missing
// columns are added empty, and typed values are held to the column's range.
#include "codes/item_columns.h"
#include "document/file_layout.h"

#include <gtest/gtest.h>

namespace vs {
namespace {

TEST(EntryColumns, OneColumnChangesAndNothingElse)
{
    struct Case {
        const char* text;
        size_t column;
        const char* value;
        const char* expected;
    };
    const Case cases[] = {
        {"0,5,0,255,1,1,0,0,name", 0, "12", "12,5,0,255,1,1,0,0,name"},
        {"0,5,0,255,1,1,0,0,name", 3, "", "0,5,0,,1,1,0,0,name"},
        {"0,5,0,255,1,1,0,0,a, b ,c", 7, "63", "0,5,0,255,1,1,0,63,a, b ,c"},  // commas in the comment stay
        {" 0 ,5", 0, "7", "7,5"},                                              // the blanks were the column's
        {"0,5", 4, "1", "0,5,,,1"},                                            // missing columns come in empty
        {"", 0, "3", "3"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(withEntryColumn(c.text, c.column, c.value), c.expected) << c.text << " column " << c.column;
        EXPECT_EQ(entryColumn(c.expected, c.column), c.value) << c.expected;
    }
    EXPECT_EQ(entryColumn("0,5", 2), "");
}

TEST(EntryColumns, TheCommentIsEverythingAfterTheColumns)
{
    EXPECT_EQ(entryComment("0,5,0,255,1,1,0,Sword, +2", 7), "Sword, +2");
    EXPECT_EQ(entryComment("0,5,0", 7), "");
    EXPECT_EQ(withEntryComment("0,5,0,255,1,1,0,Sword, +2", 7, "Axe"), "0,5,0,255,1,1,0,Axe");
    EXPECT_EQ(withEntryComment("0,5,0,255,1,1,0,Sword", 7, ""), "0,5,0,255,1,1,0");
    EXPECT_EQ(withEntryComment("0,5,0,255,1,1,0", 7, "Axe"), "0,5,0,255,1,1,0,Axe");
    EXPECT_EQ(withEntryComment("0,5", 7, "Axe"), "0,5,,,,,,Axe");
    EXPECT_EQ(withEntryComment("0,5", 7, ""), "0,5");
}

TEST(EntryColumns, TypedValuesMustBeWholeNumbersInTheColumnsRange)
{
    // Every column of every layout: its bounds pass, one beyond fails, and so does anything but digits.
    for (const std::string_view name : {"shop-7", "bag-6", "shop-8", "bag-sections"}) {
        const FileLayout* layout = layoutByName(name);
        ASSERT_NE(layout, nullptr) << name;
        for (const ItemColumn& column : layout->items.columns) {
            EXPECT_EQ(columnValueProblem(column, std::to_string(column.low)), "") << name << " " << column.name;
            EXPECT_EQ(columnValueProblem(column, std::to_string(column.high)), "") << name << " " << column.name;
            const std::string problem = columnValueProblem(column, std::to_string(column.high + 1));
            EXPECT_EQ(problem, std::string(column.name) + " must be a whole number from " +
                                   std::to_string(column.low) + " to " + std::to_string(column.high));
            for (const char* bad : {"", "1.5", " 1", "1 ", "x", "+1", "99999999999"})
                EXPECT_NE(columnValueProblem(column, bad), "") << name << " " << column.name << " '" << bad << "'";
            if (column.low == 0) {
                EXPECT_NE(columnValueProblem(column, "-1"), "") << name << " " << column.name;
            }
        }
    }
}

}  // namespace
}  // namespace vs
