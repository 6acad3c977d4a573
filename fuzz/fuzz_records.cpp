// The record reader and the number rule: records never hold a comma or a
// line end, both ways of reading give the same records, and reading a number
// from any text gives a value (never a crash); the checked conversions raise
// only the project's own error.
#include "catalog/record_reader.h"
#include "catalog/text_utils.h"
#include "catalog/token_value.h"
#include "catalog/vault_error.h"
#include "fuzz_support.h"

#include <cmath>

namespace {

void convert(double value)
{
    try {
        const int32_t wide = vs::toInt32(value, "field");
        FUZZ_CHECK(std::fabs(wide - value) <= 0.5, "toInt32 rounds to the nearest integer");
    } catch (const vs::VaultError& e) {
        FUZZ_CHECK(e.kind() == vs::ErrorKind::NumberTooLarge, "toInt32 fails only as too large");
    }
    try {
        const int16_t narrow = vs::toInt16(value);
        FUZZ_CHECK(std::fabs(narrow - value) <= 0.5, "toInt16 rounds to the nearest integer");
    } catch (const vs::VaultError& e) {
        FUZZ_CHECK(e.kind() == vs::ErrorKind::NumberTooLarge, "toInt16 fails only as too large");
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const std::string_view bytes = fuzzBytes(data, size);
    const std::vector<vs::Record> records = vs::splitRecords(bytes);
    size_t at = 0;
    int lastLine = 1;
    size_t recordBytes = 0;
    vs::forEachFileRecord(bytes, [&](std::string_view text, int line) {
        FUZZ_CHECK(at < records.size() && records[at].text == text && records[at].line == line,
                   "the visitor gives the records splitRecords gives");
        FUZZ_CHECK(text.find_first_of(",\r\n") == std::string_view::npos, "a record holds no separator");
        FUZZ_CHECK(line >= lastLine, "lines never go back");
        lastLine = line;
        recordBytes += text.size();
        ++at;
    });
    FUZZ_CHECK(at == records.size(), "as many records both ways");
    FUZZ_CHECK(recordBytes <= bytes.size(), "records hold no more than the bytes");

    for (const vs::Record& record : records) {
        const std::string_view text = vs::stripLeadingBlanks(record.text);
        for (const std::string& token : vs::readData(text)) {
            FUZZ_CHECK(!token.empty(), "no token is empty");
            convert(vs::tokenValue(token));
        }
    }
    const double whole = vs::tokenValue(bytes);
    FUZZ_CHECK(!std::isnan(whole), "a number read from text is never NaN");
    convert(whole);
    (void)vs::formatNumber(whole);
    return 0;
}
