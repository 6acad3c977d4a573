#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

namespace vs {

// The property record of the item being edited and the builder of its decimal
// forms: the shop code (seven fields) and the bag code (six, no durability).
// It stores what it is given; the code manager keeps the values in range.
class clsShopCode {
public:
    int16_t classIndex = 0;
    int16_t typeIndex = 0;
    int16_t level = 0;
    int16_t dur = 0;
    int16_t skill = 0;
    int16_t luck = 0;
    int16_t optLevel = 0;
    // Start offsets of level, dur, skill, luck and optLevel (entries 1..5) in
    // the shop code built last; entry 0 is never written and reads 0.
    std::array<int16_t, 6> propPos{};

    // The item id, classIndex x 32 + typeIndex.
    int16_t getDecSerial() const;
    // class, index, level, dur, skill, luck, option joined by `sep`; renews propPos.
    std::string getCode(std::string_view sep);
    // class, index, level, skill, luck, option joined by `sep`.
    std::string getBagCode(std::string_view sep) const;
};

}  // namespace vs
