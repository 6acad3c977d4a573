#include "codes/vault_code.h"

#include "catalog/text_utils.h"
#include "catalog/token_value.h"

#include <algorithm>

namespace vs {

namespace {
// Upper-case hexadecimal digits of the value, padded with "0" to at least
// `width` digits (a larger value keeps all its digits).
std::string hexGroup(unsigned long value, int width)
{
    char digits[2 * sizeof value];
    int count = 0;
    do {
        digits[count++] = "0123456789ABCDEF"[value & 15];
        value >>= 4;
    } while (value != 0);
    std::string group(static_cast<size_t>(std::max(width - count, 0)), '0');
    while (count > 0)
        group += digits[--count];
    return group;
}
}  // namespace

std::string clsVaultCode::getCode(const clsShopCode& shop)
{
    // Refuse an unencodable serial before any carry flag is set.
    const std::string serialDigits = getHex6_8();
    std::string code;
    code.reserve(20);
    code += getHex0_2(shop);
    code += getHex2_2(shop);
    code += getHex4_2(shop);
    code += serialDigits;
    code += getHex14_2();
    code += getHex16_2();
    code += getHex18_2();
    return code;
}

std::string clsVaultCode::getHex0_2(const clsShopCode& shop)
{
    int v = shop.classIndex * 32 + shop.typeIndex;
    if (v > 255) {
        indexHigh = true;
        v -= 256;
    }
    return hexGroup(static_cast<unsigned long>(v & 0xFFFF), 2);
}

std::string clsVaultCode::getHex2_2(const clsShopCode& shop)
{
    int v = shop.skill * 128 + shop.level * 8 + shop.luck * 4;
    if (shop.optLevel == 4)
        option16 = true;
    else
        v += shop.optLevel;
    return hexGroup(static_cast<unsigned long>(v & 0xFFFF), 2);
}

std::string clsVaultCode::getHex4_2(const clsShopCode& shop) const
{
    return hexGroup(static_cast<unsigned long>(shop.dur & 0xFFFF), 2);
}

std::string clsVaultCode::getHex6_8() const
{
    const int32_t value = toInt32(serial, "serial");
    return hexGroup(static_cast<uint32_t>(value), 8);
}

std::string clsVaultCode::getHex14_2()
{
    int v = 0;
    if (indexHigh) {
        v = 128;
        indexHigh = false;
    }
    if (option16) {
        v += 64;
        option16 = false;
    }
    for (int i = 0; i < kExcellentCount; ++i)
        v += (1 << i) * xlntOptions[i];
    return hexGroup(static_cast<unsigned long>(v & 0xFFFF), 2);
}

void clsVaultCode::setXlntOption(int index, int value)
{
    if (index == kAllExcellent)
        xlntOptions.fill(static_cast<int16_t>(value));
    else if (index >= 0 && index < kExcellentCount)
        xlntOptions[index] = static_cast<int16_t>(value);
}

bool clsVaultCode::serialFits(double serial)
{
    double rounded = roundHalfEven(serial);
    return rounded >= INT32_MIN && rounded <= INT32_MAX;
}

}  // namespace vs
