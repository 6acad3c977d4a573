#include "codes/item_columns.h"

#include "catalog/token_value.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <cmath>

namespace vs {

namespace {

// A plain decimal whole number: an optional sign and digits, nothing else.
bool isPlainInteger(std::string_view field)
{
    size_t at = field.empty() || (field[0] != '-' && field[0] != '+') ? 0 : 1;
    if (at == field.size())
        return false;
    for (; at < field.size(); ++at)
        if (!std::isdigit(static_cast<unsigned char>(field[at])))
            return false;
    return true;
}

}  // namespace

int ItemLayout::find(ColumnRole role) const
{
    for (size_t c = 0; c < columns.size(); ++c)
        if (columns[c].role == role)
            return static_cast<int>(c);
    return -1;
}

std::vector<std::string_view> entryPieces(std::string_view text)
{
    std::vector<std::string_view> pieces;
    size_t start = 0;
    for (size_t comma; (comma = text.find(',', start)) != std::string_view::npos; start = comma + 1)
        pieces.push_back(text.substr(start, comma - start));
    pieces.push_back(text.substr(start));
    return pieces;
}

namespace {

// Where column `column` begins and ends in the text; npos when the text has fewer columns.
std::pair<size_t, size_t> columnSpan(std::string_view text, size_t column)
{
    size_t start = 0;
    for (size_t c = 0; c < column; ++c) {
        const size_t comma = text.find(',', start);
        if (comma == std::string_view::npos)
            return {std::string_view::npos, std::string_view::npos};
        start = comma + 1;
    }
    const size_t end = text.find(',', start);
    return {start, end == std::string_view::npos ? text.size() : end};
}

}  // namespace

std::string_view entryColumn(std::string_view text, size_t column)
{
    const auto [start, end] = columnSpan(text, column);
    return start == std::string_view::npos ? std::string_view() : text.substr(start, end - start);
}

std::string_view entryComment(std::string_view text, size_t count)
{
    const size_t start = columnSpan(text, count).first;
    return start == std::string_view::npos ? std::string_view() : text.substr(start);
}

std::string withEntryColumn(std::string_view text, size_t column, std::string_view value)
{
    std::string result(text);
    size_t pieces = 1 + static_cast<size_t>(std::count(text.begin(), text.end(), ','));
    for (; pieces <= column; ++pieces)
        result += ',';
    const auto [start, end] = columnSpan(result, column);
    return result.replace(start, end - start, value);
}

std::string withEntryComment(std::string_view text, size_t count, std::string_view comment)
{
    const size_t start = columnSpan(text, count).first;
    std::string result(start == std::string_view::npos ? text : text.substr(0, start));
    if (comment.empty()) {
        if (start != std::string_view::npos)
            result.pop_back();  // the comma that began the comment
        return result;
    }
    if (start == std::string_view::npos)
        for (size_t pieces = 1 + static_cast<size_t>(std::count(text.begin(), text.end(), ','));
             pieces <= count; ++pieces)
            result += ',';
    return result += comment;
}

std::string columnValueProblem(const ItemColumn& column, std::string_view value)
{
    int number = 0;
    const char* end = value.data() + value.size();
    const auto [stop, error] = std::from_chars(value.data(), end, number);
    if (value.empty() || error != std::errc() || stop != end || number < column.low || number > column.high)
        return std::string(column.name) + " must be a whole number from " + std::to_string(column.low) + " to " +
               std::to_string(column.high);
    return {};
}

RowValues readRowValues(std::string_view text, const ItemLayout& layout)
{
    const std::vector<std::string_view> pieces = entryPieces(text);
    RowValues row;
    for (size_t c = 0; c < layout.count(); ++c)
        row[layout.columns[c].role] = c < pieces.size() ? tokenValue(pieces[c]) : 0.0;
    if (!layout.has(ColumnRole::MaxLevel))
        row[ColumnRole::MaxLevel] = row[ColumnRole::Level];
    return row;
}

std::string columnsText(const ItemLayout& layout, const RowValues& values, std::string_view separator)
{
    std::string text;
    for (size_t c = 0; c < layout.count(); ++c) {
        if (c > 0)
            text += separator;
        text += formatNumber(values[layout.columns[c].role]);
    }
    return text;
}

std::string inexactColumn(std::string_view text, const ItemLayout& layout)
{
    const std::vector<std::string_view> pieces = entryPieces(text);
    for (size_t c = 0; c < layout.count(); ++c) {
        const ItemColumn& column = layout.columns[c];
        const std::string what = "its " + std::string(column.what);
        if (c >= pieces.size() || pieces[c].empty())
            return what + " is missing";
        if (!isPlainInteger(pieces[c]))
            return what + " \"" + std::string(pieces[c]) + "\" is not a whole number";
        const double value = tokenValue(pieces[c]);
        if (value < column.low || value > column.editorHigh)
            return what + " " + formatNumber(value) + " is outside the editor's " + std::to_string(column.low) +
                   ".." + std::to_string(column.editorHigh);
    }
    // A range the editor shows ends at or above its start.
    const int low = layout.find(ColumnRole::Level), high = layout.find(ColumnRole::MaxLevel);
    if (low >= 0 && high >= 0 && tokenValue(pieces[static_cast<size_t>(low)]) > tokenValue(pieces[static_cast<size_t>(high)]))
        return "its " + std::string(layout.columns[static_cast<size_t>(low)].what) + " " +
               std::string(pieces[static_cast<size_t>(low)]) + " is above its " +
               std::string(layout.columns[static_cast<size_t>(high)].what) + " " +
               std::string(pieces[static_cast<size_t>(high)]);
    return {};
}

}  // namespace vs
