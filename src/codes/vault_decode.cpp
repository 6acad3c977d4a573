#include "codes/vault_decode.h"

#include "catalog/text_utils.h"

namespace vs {

std::optional<DecodedVault> decodeVaultCode(std::string_view hex)
{
    if (hex.size() != 20)
        return std::nullopt;
    std::array<uint8_t, 10> bytes{};
    for (size_t i = 0; i < bytes.size(); ++i) {
        int high = hexDigitValue(hex[2 * i]);
        int low = hexDigitValue(hex[2 * i + 1]);
        if (high < 0 || low < 0)
            return std::nullopt;
        bytes[i] = static_cast<uint8_t>(high * 16 + low);
    }
    DecodedVault item;
    const int id = bytes[0] + ((bytes[7] & 0x80) ? 256 : 0);
    item.classIndex = id / 32;
    item.typeIndex = id % 32;
    item.skill = bytes[1] >> 7;
    item.level = (bytes[1] >> 3) & 0x0F;
    item.luck = (bytes[1] >> 2) & 1;
    item.optLevel = (bytes[7] & 0x40) ? 4 : bytes[1] & 3;
    item.dur = bytes[2];
    uint32_t serial = (uint32_t(bytes[3]) << 24) | (uint32_t(bytes[4]) << 16) |
                      (uint32_t(bytes[5]) << 8) | uint32_t(bytes[6]);
    item.serial = static_cast<int32_t>(serial);
    for (int i = 0; i < 6; ++i)
        item.excellent[i] = (bytes[7] >> i) & 1;
    return item;
}

}  // namespace vs
