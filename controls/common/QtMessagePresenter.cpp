#include "controls/common/QtMessagePresenter.h"
#include "core/MessageBox.h"

#include <QApplication>
#include <QMessageBox>
#include <QPushButton>
#include <vector>

namespace picbasket {

namespace {

struct ButtonChoice {
    QMessageBox::StandardButton button;
    int result;
};

std::vector<ButtonChoice> buttonsOf(int style) {
    using B = QMessageBox;
    switch (style & 7) {
    case mb::OKCancel: return {{B::Ok, mb::OK}, {B::Cancel, mb::Cancel}};
    case mb::AbortRetryIgnore: return {{B::Abort, mb::Abort}, {B::Retry, mb::Retry}, {B::Ignore, mb::Ignore}};
    case mb::YesNoCancel: return {{B::Yes, mb::Yes}, {B::No, mb::No}, {B::Cancel, mb::Cancel}};
    case mb::YesNo: return {{B::Yes, mb::Yes}, {B::No, mb::No}};
    case mb::RetryCancel: return {{B::Retry, mb::Retry}, {B::Cancel, mb::Cancel}};
    default: return {{B::Ok, mb::OK}};
    }
}

QMessageBox::Icon iconOf(int style) {
    switch (style & 0x70) {
    case mb::Critical: return QMessageBox::Critical;
    case mb::Question: return QMessageBox::Question;
    case mb::Exclamation: return QMessageBox::Warning;
    case mb::Information: return QMessageBox::Information;
    default: return QMessageBox::NoIcon;
    }
}

int present(const MessageRequest& request) {
    QMessageBox box(iconOf(request.style), request.title, request.text, QMessageBox::NoButton,
                    QApplication::activeWindow());
    const std::vector<ButtonChoice> buttons = buttonsOf(request.style);
    for (const ButtonChoice& entry : buttons)
        box.addButton(entry.button);
    const size_t which = (request.style & mb::DefaultButton3) ? 2 : (request.style & mb::DefaultButton2) ? 1 : 0;
    if (which < buttons.size())
        box.setDefaultButton(buttons[which].button);
    const int pressed = box.exec();
    for (const ButtonChoice& entry : buttons)
        if (entry.button == pressed)
            return entry.result;
    // Closed with the window's close box: Cancel where there is one, else the default.
    for (const ButtonChoice& entry : buttons)
        if (entry.result == mb::Cancel)
            return mb::Cancel;
    return buttons.front().result;
}

} // namespace

void installQtMessagePresenter() { setMessagePresenter(present); }

} // namespace picbasket
