// The file check and the shop grid on any file, with the shipped catalog. The
// first byte chooses the kind of file, --names and the kind's other layout
// (shop-8, bag-sections); the rest is the file.
// - Findings come in line order, each on a line the file has.
// - Every placed item lies inside the 8 x 15 grid and its cells name it; no
//   two placed items share a cell.
#include "check/file_check.h"
#include "document/list_reader.h"
#include "grid/shop_grid.h"
#include "fuzz_support.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size == 0)
        return 0;
    const int editMode = data[0] & 1;
    vs::CheckOptions options;
    options.names = (data[0] & 2) != 0;
    const vs::FileLayout& layout =
        (data[0] & 4) == 0 ? vs::specLayout(editMode)
                           : vs::layoutFor(editMode == 0 ? vs::LayoutId::Shop8 : vs::LayoutId::BagSections);
    const std::string bytes(fuzzBytes(data + 1, size - 1));
    const vs::ListFile file = vs::readListFile(bytes, layout);
    const int lines = static_cast<int>(file.source->lines.size());

    int last = 1;
    for (const vs::Finding& finding : vs::checkListFile(file, layout, shippedCatalog(), options)) {
        FUZZ_CHECK(finding.line >= last && finding.line <= lines, "findings in line order, on lines the file has");
        FUZZ_CHECK(!finding.code.empty() && !finding.message.empty(), "every finding has a code and a message");
        last = finding.line;
    }

    const vs::ShopGrid grid = vs::layOutShop(file.entries, shippedCatalog(), layout);
    int covered = 0;
    for (size_t i = 0; i < grid.items.size(); ++i) {
        const vs::GridItem& item = grid.items[i];
        if (item.fate != vs::GridItem::Fate::Placed)
            continue;
        FUZZ_CHECK(item.x >= 0 && item.y >= 0 && item.x + item.width <= vs::kGridColumns &&
                       item.y + item.height <= vs::kGridRows,
                   "a placed item lies inside the grid");
        for (int dy = 0; dy < item.height; ++dy)
            for (int dx = 0; dx < item.width; ++dx)
                FUZZ_CHECK(grid.at(item.x + dx, item.y + dy) == static_cast<int>(i), "its cells name it");
        covered += item.width * item.height;
    }
    int taken = 0;
    for (int cell : grid.cells)
        taken += cell >= 0;
    FUZZ_CHECK(taken == covered, "no two placed items share a cell");
    return 0;
}
