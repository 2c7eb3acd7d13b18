#include "browser/NotAddedReport.h"
#include "browser/BasketAdder.h"

namespace picbasket {

NotAddedReport::NotAddedReport(BasketAdder& adder)
    : adder_(adder), files_(QStringLiteral("This file was not added to the basket:"),
                            QStringLiteral("These files were not added to the basket:")) {
    adder_.notAdded = [this](const QString& path, const QString& reason) { add(path, reason); };
}

NotAddedReport::~NotAddedReport() {
    adder_.notAdded = {};
}

} // namespace picbasket
