#include "controls/dialogs/DialogBackend.h"

#include "controls/dialogs/QtDialogBackend.h"

namespace picbasket {

namespace {

DialogBackend*& installedBackend() {
    static DialogBackend* backend = nullptr;
    return backend;
}

} // namespace

DialogBackend& dialogBackend() {
    static QtDialogBackend qtBackend;
    DialogBackend* backend = installedBackend();
    return backend ? *backend : qtBackend;
}

DialogBackend* setDialogBackend(DialogBackend* backend) {
    DialogBackend* previous = installedBackend();
    installedBackend() = backend;
    return previous;
}

} // namespace picbasket
