#pragma once

#include "codes/shop_code.h"

#include <array>
#include <cstdint>
#include <string>

namespace vs {

inline constexpr int kExcellentCount = 6;
inline constexpr int kAllExcellent = 255;

// The 20-digit warehouse code. It holds only what no other code carries: the
// serial number and the six excellent-option flags; everything else is read
// from the property record handed to getCode.
class clsVaultCode {
public:
    // The 20 upper-case hexadecimal digits. Throws VaultError(NumberTooLarge)
    // when the serial, rounded half to even, lies outside signed 32 bits.
    std::string getCode(const clsShopCode& shop);

    // The groups, in the order getCode calls them: 0-1 and 2-3 set carry flags
    // that 14-15 consumes, so a group read on its own is not meaningful.
    std::string getHex0_2(const clsShopCode& shop);
    std::string getHex2_2(const clsShopCode& shop);
    std::string getHex4_2(const clsShopCode& shop) const;
    std::string getHex6_8() const;
    std::string getHex14_2();
    std::string getHex16_2() const { return "00"; }
    std::string getHex18_2() const { return "00"; }

    // Stores the serial as given, without a range test.
    void setId(double newSerial) { serial = newSerial; }
    // index 0..5 sets one flag, 255 all six; other indexes change nothing.
    void setXlntOption(int index, int value);
    int16_t xlntOption(int index) const { return xlntOptions.at(index); }

    // True when the serial can be encoded (signed 32-bit after rounding).
    static bool serialFits(double serial);

private:
    double serial = 0;
    std::array<int16_t, kExcellentCount> xlntOptions{};
    bool indexHigh = false;
    bool option16 = false;
};

}  // namespace vs
