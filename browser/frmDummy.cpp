#include "browser/frmDummy.h"

#include "browser/IndexedMenu.h"

#include <QMenu>

namespace picbasket {

frmDummy::frmDummy(QObject* parent)
    : QObject(parent), batch_(std::make_unique<QMenu>(QStringLiteral("Save Batch"))) {
    fillIndexedMenu(batch_.get(),
                    {{0, "Save basket into JPEG 2000 files in batch"},
                     {1, "-"},
                     {2, "Generate Screensaver from basket"},
                     {3, "Generate Slide Show from basket"},
                     {4, "-"},
                     {5, "Print all images in basket"},
                     {6, "-"},
                     {7, "Acquire from twain devices"},
                     {8, "Capture.."},
                     {9, "-"},
                     {10, "New Image Basket"},
                     {11, "Open Image Basket"},
                     {12, "Save Image Basket"},
                     {13, "Remove selected images"}},
                    [this](int index) { emit mnuBatch_Click(index); });
}

frmDummy::~frmDummy() = default;

BatchMenuCommand fncBatchMenuCommand(int item) {
    using K = BatchMenuCommand;
    switch (item) {
    case 0:
    case 2:
    case 3: return {K::Generate, item};
    case 5: return {K::Generate, 6};
    case 7: return {K::Generate, 4};
    case 8: return {K::Generate, 5};
    case 10: return {K::NewBasket};
    case 11: return {K::OpenBasket};
    case 12: return {K::SaveBasket};
    case 13: return {K::RemoveSelected};
    default: return {};
    }
}

} // namespace picbasket
