#include "controls/dialogs/modFontsCombo.h"

#include "core/MessageBox.h"

#include <QComboBox>
#include <QFontDatabase>

namespace picbasket {

namespace {

// The families an application may offer (private system families left out).
QStringList installedFamilies() {
    QStringList names;
    for (const QString& family : QFontDatabase::families()) {
        if (!QFontDatabase::isPrivateFamily(family)) {
            names << family;
        }
    }
    return names;
}

} // namespace

bool fncFillFontList(QComboBox* combo, bool families) {
    Q_UNUSED(families);
    return fncFillFontList(combo, std::optional<QStringList>(installedFamilies()));
}

bool fncFillFontList(QComboBox* combo, const std::optional<QStringList>& faces) {
    if (!combo) {
        return false;
    }
    combo->clear();
    if (!faces) {
        msgBox(QStringLiteral("Failed to get font info"), mb::OKOnly);
        return false;
    }
    for (const QString& face : *faces) {
        if (!face.isEmpty()) {
            combo->addItem(face);
        }
    }
    if (combo->count() > 0) {
        combo->setCurrentIndex(0);
    }
    return true;
}

} // namespace picbasket
