#include <QApplication>
#include <QStandardPaths>
#include <gtest/gtest.h>

#include "core/MessageBox.h"

// Every test executable runs inside one QApplication (offscreen); no message box
// ever blocks: the fallback presenter answers with the default button.
int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", qgetenv("QT_QPA_PLATFORM").isEmpty() ? QByteArray("offscreen")
                                                                     : qgetenv("QT_QPA_PLATFORM"));
    QApplication app(argc, argv);
    // What a test writes for "the user" (setup, temporary pages, reports) without a
    // folder of its own goes to Qt's test folders, never the real config or cache.
    QStandardPaths::setTestModeEnabled(true);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
