#include "browser/frmFrameDummy.h"

#include "browser/IndexedMenu.h"

#include <QMenu>

namespace picbasket {

frmFrameDummy::frmFrameDummy(QObject* parent)
    : QObject(parent), exif_(std::make_unique<QMenu>(QStringLiteral("EXIF"))),
      iptc_(std::make_unique<QMenu>(QStringLiteral("IPTC"))),
      taskBasket_(std::make_unique<QMenu>(QStringLiteral("Task Basket"))) {
    fillIndexedMenu(exif_.get(),
                    {{0, "Edit the selected tag"},
                     {1, "Create a new editable EXIF tag"},
                     {2, "Remove the selected EXIF tag"},
                     {3, "Discard all EXIF tags from the image"},
                     {4, "Import an existing EXIF file (.XIFF)"},
                     {5, "Export to file (.XIFF)"}},
                    [this](int index) { emit mnuEXIF_Click(index); });
    fillIndexedMenu(iptc_.get(),
                    {{0, "Edit the selected IPTC tag"},
                     {1, "Import an existing IPTC file (.FFO)"},
                     {2, "Export to file (.FFO)"},
                     {3, "Remove the selected IPTC tag"},
                     {4, "Discard all IPTC tags from the image"}},
                    [this](int index) { emit mnuIPTC_Click(index); });
    fillIndexedMenu(taskBasket_.get(),
                    {{0, "New Task Basket"},
                     {1, "Open Task Basket"},
                     {2, "Save Task Basket"},
                     {3, "Remove selected Task"}},
                    [this](int index) { emit mnuTaskBasket_Click(index); });
}

frmFrameDummy::~frmFrameDummy() = default;

} // namespace picbasket
