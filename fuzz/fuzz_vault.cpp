// The vault-code decoder: it reads exactly the 20-digit hexadecimal texts, its
// fields stay in range, and encoding the fields it read gives a code that
// decodes to the same fields.
#include "codes/shop_code.h"
#include "codes/vault_code.h"
#include "codes/vault_decode.h"
#include "fuzz_support.h"

#include <cctype>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const std::string_view text = fuzzBytes(data, size);
    const std::optional<vs::DecodedVault> item = vs::decodeVaultCode(text);
    bool allHex = text.size() == 20;
    for (char c : text)
        allHex = allHex && std::isxdigit(static_cast<unsigned char>(c));
    FUZZ_CHECK(item.has_value() == allHex, "exactly 20 hexadecimal digits decode");
    if (!item)
        return 0;
    FUZZ_CHECK(item->classIndex >= 0 && item->classIndex < 16 && item->typeIndex >= 0 && item->typeIndex < 32,
               "class and index in range");
    FUZZ_CHECK(item->level >= 0 && item->level <= 15 && item->dur >= 0 && item->dur <= 255, "level and dur in range");
    FUZZ_CHECK(item->optLevel >= 0 && item->optLevel <= 4, "option in range");

    vs::clsShopCode shop;
    shop.classIndex = static_cast<int16_t>(item->classIndex);
    shop.typeIndex = static_cast<int16_t>(item->typeIndex);
    shop.level = static_cast<int16_t>(item->level);
    shop.dur = static_cast<int16_t>(item->dur);
    shop.skill = static_cast<int16_t>(item->skill);
    shop.luck = static_cast<int16_t>(item->luck);
    shop.optLevel = static_cast<int16_t>(item->optLevel);
    vs::clsVaultCode vault;
    vault.setId(item->serial);
    for (int i = 0; i < vs::kExcellentCount; ++i)
        vault.setXlntOption(i, item->excellent[static_cast<size_t>(i)] ? 1 : 0);
    const std::string code = vault.getCode(shop);
    const std::optional<vs::DecodedVault> again = vs::decodeVaultCode(code);
    FUZZ_CHECK(again.has_value(), "an encoded code decodes");
    FUZZ_CHECK(again->classIndex == item->classIndex && again->typeIndex == item->typeIndex &&
                   again->level == item->level && again->dur == item->dur && again->skill == item->skill &&
                   again->luck == item->luck && again->optLevel == item->optLevel &&
                   again->serial == item->serial && again->excellent == item->excellent,
               "decoded fields encode to a code that decodes to them");
    return 0;
}
