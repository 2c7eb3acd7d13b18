#pragma once
#include <QString>
#include <QStringList>
#include <functional>

namespace picbasket {

// Buttons, icons and results of message boxes, as the runtime numbers them.
namespace mb {
inline constexpr int OKOnly = 0, OKCancel = 1, AbortRetryIgnore = 2, YesNoCancel = 3, YesNo = 4,
                     RetryCancel = 5;
inline constexpr int Critical = 16, Question = 32, Exclamation = 48, Information = 64;
inline constexpr int DefaultButton2 = 256, DefaultButton3 = 512;
inline constexpr int OK = 1, Cancel = 2, Abort = 3, Retry = 4, Ignore = 5, Yes = 6, No = 7;
} // namespace mb

struct MessageRequest {
    QString text;
    int style = mb::OKOnly; // buttons + icon + default button
    QString title;
};

// Shows a message box titled with ApplicationTitle (or the given title) and returns
// the button pressed. The presenter shows it; tests install their own so nothing blocks.
int msgBox(const QString& text, int style = mb::OKOnly, const QString& title = {});
// Lines joined with CR LF, the way every multi-line message is built.
QString joinLines(const QStringList& lines);

using MessagePresenter = std::function<int(const MessageRequest&)>;
// Installs the presenter and returns the previous one. Without one, the message is
// written to stderr and the default button is returned.
MessagePresenter setMessagePresenter(MessagePresenter presenter);

} // namespace picbasket
