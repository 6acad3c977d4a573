#pragma once

#include <array>
#include <string>
#include <string_view>
#include <vector>

namespace vs {

// What one column of an item line holds.
enum class ColumnRole {
    Class,
    Index,
    Level,          // the item level; the lowest level of a level range
    MaxLevel,       // the highest level of a level range
    Durability,
    Skill,
    Luck,
    Option,
    Excellent,      // the six excellent options as bits, bit k for option k of the vault code
    ExcellentFlag,  // 0 or 1: the server gives the item excellent options of its own choosing
};
inline constexpr size_t kColumnRoleCount = 10;

// How a layout's item names mark luck and excellence (composeDisplayName).
enum NameRule : int {
    kShopNames = 0,   // luck as "+Luck"
    kBagNames = 1,    // luck as the prefix "Excellent "
    kVaultNames = 2,  // luck as "+Luck", any excellent option as the prefix "Excellent "
};

// One column of an item line: its name as the files' headings write it, the
// word messages use for it, the values a file may hold there and the highest
// one the editor can show.
struct ItemColumn {
    ColumnRole role;
    std::string_view name;
    std::string_view what;
    int low;
    int high;
    int editorHigh;
};

// The columns of a layout's item lines, in file order, and how their items are named.
struct ItemLayout {
    std::vector<ItemColumn> columns;
    int naming = kShopNames;

    size_t count() const { return columns.size(); }
    // The place of the column holding `role`, or -1.
    int find(ColumnRole role) const;
    bool has(ColumnRole role) const { return find(role) >= 0; }
};

// An item line's values by role; a value the layout has no column for keeps its default.
struct RowValues {
    std::array<double, kColumnRoleCount> values{};

    double& operator[](ColumnRole role) { return values[static_cast<size_t>(role)]; }
    double operator[](ColumnRole role) const { return values[static_cast<size_t>(role)]; }
};

// The comma-separated pieces of an entry text: its columns, then its comment.
std::vector<std::string_view> entryPieces(std::string_view text);

// The text of column `column` of an entry (empty when the entry has no such
// column), and its comment: the text after the `count`-th comma.
std::string_view entryColumn(std::string_view text, size_t column);
std::string_view entryComment(std::string_view text, size_t count);
// The entry with column `column` holding `value` and every other byte as it
// was; columns missing before it are added empty.
std::string withEntryColumn(std::string_view text, size_t column, std::string_view value);
// The entry with its comment (after the `count`-th comma) replaced; an empty
// comment leaves the columns alone.
std::string withEntryComment(std::string_view text, size_t count, std::string_view comment);
// Why `value` cannot stand in the column as typed: it must be a whole number
// within the values a file may hold there. Empty when it can.
std::string columnValueProblem(const ItemColumn& column, std::string_view value);

// Each column of an item entry read by the token value rule, without rounding;
// an empty or missing column gives 0. A range's highest level defaults to its lowest.
RowValues readRowValues(std::string_view text, const ItemLayout& layout);

// The columns' values as decimal numbers joined by `separator`.
std::string columnsText(const ItemLayout& layout, const RowValues& values, std::string_view separator);

// Why the editor cannot show an entry's columns exactly as they stand: the
// first column that is missing, is not a plain whole number, or lies outside
// what the editor shows, or a level range ending below its start. Empty when
// every column can be shown as it is.
std::string inexactColumn(std::string_view text, const ItemLayout& layout);

}  // namespace vs
