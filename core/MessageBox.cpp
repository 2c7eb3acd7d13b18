#include "core/MessageBox.h"
#include "core/Globals.h"

#include <cstdio>
#include <utility>

namespace picbasket {

namespace {

MessagePresenter g_presenter;

// The result of the button a box would give by default.
int defaultResult(int style) {
    const int buttons = style & 7;
    const int which = (style & mb::DefaultButton3) ? 2 : (style & mb::DefaultButton2) ? 1 : 0;
    static const int results[6][3] = {{mb::OK, mb::OK, mb::OK},
                                      {mb::OK, mb::Cancel, mb::Cancel},
                                      {mb::Abort, mb::Retry, mb::Ignore},
                                      {mb::Yes, mb::No, mb::Cancel},
                                      {mb::Yes, mb::No, mb::No},
                                      {mb::Retry, mb::Cancel, mb::Cancel}};
    return results[buttons < 6 ? buttons : 0][which];
}

} // namespace

int msgBox(const QString& text, int style, const QString& title) {
    const MessageRequest request{text, style, title.isEmpty() ? ApplicationTitle : title};
    if (g_presenter)
        return g_presenter(request);
    std::fprintf(stderr, "%s: %s\n", qPrintable(request.title), qPrintable(request.text));
    return defaultResult(style);
}

QString joinLines(const QStringList& lines) { return lines.join(QStringLiteral("\r\n")); }

MessagePresenter setMessagePresenter(MessagePresenter presenter) {
    std::swap(presenter, g_presenter);
    return presenter;
}

} // namespace picbasket
