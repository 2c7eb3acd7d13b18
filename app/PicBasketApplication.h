#pragma once
#include <QApplication>

namespace picbasket {

// The application object. Its notify is the last safety net: an exception that a
// handler let escape is reported through the error handler and never crosses
// Qt's event loop.
class PicBasketApplication : public QApplication {
public:
    PicBasketApplication(int& argc, char** argv);
    bool notify(QObject* receiver, QEvent* event) override;
};

} // namespace picbasket
