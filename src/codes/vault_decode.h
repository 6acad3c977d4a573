#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string_view>

namespace vs {

// The fields a vault code carries, read back from its 20 digits.
struct DecodedVault {
    int classIndex = 0;
    int typeIndex = 0;
    int level = 0;  // 0..15 as stored; the editor shows at most 12
    int dur = 0;
    int skill = 0;
    int luck = 0;
    int optLevel = 0;  // 4 when bit 6 of byte 7 is set, else bits 1..0 of byte 1
    int32_t serial = 0;
    std::array<bool, 6> excellent{};
};

// Reads 20 hexadecimal digits in either case; anything else gives no value.
// Bytes 8 and 9 are ignored.
std::optional<DecodedVault> decodeVaultCode(std::string_view hex);

}  // namespace vs
