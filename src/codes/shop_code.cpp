#include "codes/shop_code.h"

#include "catalog/text_utils.h"

namespace vs {

int16_t clsShopCode::getDecSerial() const
{
    return makeId(classIndex, typeIndex);
}

std::string clsShopCode::getCode(std::string_view sep)
{
    std::string code = std::to_string(classIndex);
    code += sep;
    code += std::to_string(typeIndex);
    code += sep;
    const int16_t fields[] = {level, dur, skill, luck};
    for (size_t k = 0; k < 4; ++k) {
        propPos[k + 1] = static_cast<int16_t>(code.size());
        code += std::to_string(fields[k]);
        code += sep;
    }
    propPos[5] = static_cast<int16_t>(code.size());
    code += std::to_string(optLevel);
    return code;
}

std::string clsShopCode::getBagCode(std::string_view sep) const
{
    std::string code;
    for (int16_t field : {classIndex, typeIndex, level, skill, luck}) {
        code += std::to_string(field);
        code += sep;
    }
    code += std::to_string(optLevel);
    return code;
}

}  // namespace vs
