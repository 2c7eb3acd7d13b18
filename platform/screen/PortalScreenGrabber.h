#pragma once
#include "platform/screen/ScreenGrabber.h"

#include <QObject>
#include <QVariantMap>

namespace picbasket {

// The Wayland grabber. Qt cannot read the screen there, so the desktop portal's
// Screenshot call is asked for a picture (the desktop may ask the user first); when
// no portal answers, or it refuses, the grab reports the screen unreadable. The
// windows cannot be moved out of the way and there is nothing to sync.
class PortalScreenGrabber : public QObject, public ScreenGrabber {
    Q_OBJECT

public:
    // How long the portal may take, the user's confirmation included.
    static constexpr int AnswerTimeoutMs = 60000;

    ScreenGrab grabScreen(QScreen* screen) override;
    bool setShowingDesktop(bool) override { return false; }
    void syncDisplay() override {}

private Q_SLOTS:
    void portalResponse(uint response, const QVariantMap& results);

private:
    bool answered_ = false;
    uint response_ = 0;
    QVariantMap results_;
};

} // namespace picbasket
