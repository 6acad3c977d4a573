#pragma once

#include "catalog/vault_error.h"

#include <ostream>
#include <string>
#include <vector>

namespace vs::test {

// One row of the data files' failure table: the files' bytes and the failure
// they must raise.
struct FailureCase {
    const char* label;
    std::string itemBytes;
    std::string subtypeBytes;
    ErrorKind kind;
    friend void PrintTo(const FailureCase& c, std::ostream* os) { *os << c.label; }
};

inline std::vector<FailureCase> loaderFailureCases()
{
    return {
        {"ItemRecordWithSixTokens", "0\n1 1 1 0 0 0", "", ErrorKind::IndexOutOfTable},
        {"ItemRecordWithTwoTokens", "0\n1 1", "", ErrorKind::IndexOutOfTable},
        {"SubtypeRecordWithOneToken", "", "13 8\n1", ErrorKind::IndexOutOfTable},
        {"OneCharacterItemName", "0\n1 1 1 0 0 0 x", "", ErrorKind::InvalidArgument},
        {"OneCharacterSubtypeName", "", "13 8\n1 x", ErrorKind::InvalidArgument},
        {"WidthTooLarge", "0\n1 40000 1 0 0 0 \"A\"", "", ErrorKind::NumberTooLarge},
        {"DurabilityBeyondADouble", "0\n1 1 1 0 0 0 \"A\" 0 0 0 1e999", "", ErrorKind::NumberTooLarge},
        {"HeaderTooLarge", "99999\n", "", ErrorKind::NumberTooLarge},
        {"ItemIndexBeyond32Bits", "0\n9e12 1 1 0 0 0 \"A\"", "", ErrorKind::NumberTooLarge},
        {"SubtypeLevelTooLarge", "", "0 1\n40000 \"A\"", ErrorKind::NumberTooLarge},
        {"ClassSixteen", "16\n1 1 1 0 0 0 \"A\"", "", ErrorKind::IndexOutOfTable},
        {"IndexThirtyTwo", "0\n32 1 1 0 0 0 \"A\"", "", ErrorKind::IndexOutOfTable},
        {"IndexRoundsToThirtyTwo", "0\n31.5 1 1 0 0 0 \"A\"", "", ErrorKind::IndexOutOfTable},
        {"ItemIdTooLarge", "", "2000 0\n1 \"A\"", ErrorKind::NumberTooLarge},
    };
}

}  // namespace vs::test
