#include "app/PicBasketApplication.h"
#include "core/ErrorHandler.h"

namespace picbasket {

PicBasketApplication::PicBasketApplication(int& argc, char** argv) : QApplication(argc, argv) {}

bool PicBasketApplication::notify(QObject* receiver, QEvent* event) {
    try {
        return QApplication::notify(receiver, event);
    } catch (...) {
        reportCurrentException(QStringLiteral("PicBasket.notify"));
        return false;
    }
}

} // namespace picbasket
