#include "catalog/vault_error.h"
#include "codes/vault_code.h"
#include "codes/vault_decode.h"

#include <gtest/gtest.h>

namespace vs {
namespace {

clsShopCode item(int cls, int index, int level, int dur, int skill, int luck, int opt)
{
    clsShopCode shop;
    shop.classIndex = static_cast<int16_t>(cls);
    shop.typeIndex = static_cast<int16_t>(index);
    shop.level = static_cast<int16_t>(level);
    shop.dur = static_cast<int16_t>(dur);
    shop.skill = static_cast<int16_t>(skill);
    shop.luck = static_cast<int16_t>(luck);
    shop.optLevel = static_cast<int16_t>(opt);
    return shop;
}

TEST(VaultCode, WorkedExamples)
{
    clsVaultCode vault;
    vault.setId(1000);
    vault.setXlntOption(0, 1);
    vault.setXlntOption(5, 1);
    EXPECT_EQ(vault.getCode(item(0, 1, 5, 255, 1, 1, 2)), "01AEFF000003E8210000");

    clsVaultCode plain;
    EXPECT_EQ(plain.getCode(item(8, 20, 0, 40, 0, 0, 4)), "14002800000000C00000");
    EXPECT_EQ(plain.getCode(item(0, 0, 0, 0, 0, 0, 0)), "00000000000000000000");
}

TEST(VaultCode, ItemIdCarriesIntoByteSeven)
{
    clsVaultCode vault;
    std::string at256 = vault.getCode(item(8, 0, 0, 0, 0, 0, 0));
    EXPECT_EQ(at256.substr(0, 2), "00");
    EXPECT_EQ(at256.substr(14, 2), "80");
    std::string at255 = vault.getCode(item(7, 31, 0, 0, 0, 0, 0));
    EXPECT_EQ(at255.substr(0, 2), "FF");
    EXPECT_EQ(at255.substr(14, 2), "00");
}

TEST(VaultCode, OptionLevels)
{
    clsVaultCode vault;
    EXPECT_EQ(vault.getCode(item(0, 0, 0, 0, 0, 0, 3)).substr(2, 2), "03");
    std::string four = vault.getCode(item(0, 0, 0, 0, 0, 0, 4));
    EXPECT_EQ(four.substr(2, 2), "00");
    EXPECT_EQ(four.substr(14, 2), "40");
    EXPECT_EQ(vault.getCode(item(0, 0, 12, 0, 1, 1, 3)).substr(2, 2), "E7");
}

TEST(VaultCode, CarryFlagsDoNotLeakBetweenCalls)
{
    clsVaultCode vault;
    clsShopCode high = item(15, 31, 0, 0, 0, 0, 4);
    std::string first = vault.getCode(high);
    EXPECT_EQ(first, vault.getCode(high));
    EXPECT_EQ(vault.getCode(item(0, 0, 0, 0, 0, 0, 0)).substr(14, 2), "00");
}

TEST(VaultCode, ExcellentFlags)
{
    clsVaultCode vault;
    vault.setXlntOption(kAllExcellent, 1);
    EXPECT_EQ(vault.getCode(item(0, 0, 0, 0, 0, 0, 0)).substr(14, 2), "3F");
    vault.setXlntOption(2, 0);
    EXPECT_EQ(vault.getCode(item(0, 0, 0, 0, 0, 0, 0)).substr(14, 2), "3B");
    vault.setXlntOption(6, 1);  // not a flag: nothing changes
    EXPECT_EQ(vault.getCode(item(0, 0, 0, 0, 0, 0, 0)).substr(14, 2), "3B");
}

TEST(VaultCode, SerialIsSigned32BitRoundedHalfToEven)
{
    clsVaultCode vault;
    const clsShopCode shop = item(0, 0, 0, 0, 0, 0, 0);
    auto serialDigits = [&](double serial) {
        vault.setId(serial);
        return vault.getCode(shop).substr(6, 8);
    };
    EXPECT_EQ(serialDigits(2147483647), "7FFFFFFF");
    EXPECT_EQ(serialDigits(-1), "FFFFFFFF");
    EXPECT_EQ(serialDigits(-2147483648.0), "80000000");
    EXPECT_EQ(serialDigits(12.5), "0000000C");
    EXPECT_EQ(serialDigits(13.5), "0000000E");
}

TEST(VaultCode, SerialOutside32BitsIsRefused)
{
    clsVaultCode vault;
    for (double serial : {2147483647.5, 2147483648.0, -2147483649.0, 1e300}) {
        vault.setId(serial);
        EXPECT_FALSE(clsVaultCode::serialFits(serial));
        try {
            vault.getCode(item(15, 31, 0, 0, 0, 0, 4));
            FAIL() << "no failure for " << serial;
        } catch (const VaultError& e) {
            EXPECT_EQ(e.kind(), ErrorKind::NumberTooLarge);
        }
    }
    // A refused code leaves no carry behind.
    vault.setId(0);
    EXPECT_EQ(vault.getCode(item(0, 0, 0, 0, 0, 0, 0)), "00000000000000000000");
    EXPECT_TRUE(clsVaultCode::serialFits(-2147483648.4));
}

TEST(VaultDecode, GivesBackEveryField)
{
    clsVaultCode vault;
    vault.setId(-123456);
    vault.setXlntOption(1, 1);
    vault.setXlntOption(4, 1);
    std::optional<DecodedVault> d = decodeVaultCode(vault.getCode(item(13, 27, 11, 200, 1, 0, 4)));
    ASSERT_TRUE(d);
    EXPECT_EQ(d->classIndex, 13);
    EXPECT_EQ(d->typeIndex, 27);
    EXPECT_EQ(d->level, 11);
    EXPECT_EQ(d->dur, 200);
    EXPECT_EQ(d->skill, 1);
    EXPECT_EQ(d->luck, 0);
    EXPECT_EQ(d->optLevel, 4);
    EXPECT_EQ(d->serial, -123456);
    EXPECT_EQ(d->excellent, (std::array<bool, 6>{false, true, false, false, true, false}));
}

TEST(VaultDecode, RefusesAnythingButTwentyHexDigits)
{
    EXPECT_TRUE(decodeVaultCode("01aeff000003e8210000"));
    EXPECT_FALSE(decodeVaultCode("01AEFF000003E821000"));
    EXPECT_FALSE(decodeVaultCode("01AEFF000003E82100000"));
    EXPECT_FALSE(decodeVaultCode("01AEFF000003E82100G0"));
    EXPECT_FALSE(decodeVaultCode(""));
}

}  // namespace
}  // namespace vs
