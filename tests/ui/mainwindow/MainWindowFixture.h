#pragma once
#include "core/AppPaths.h"
#include "core/ScreenTwips.h"
#include "core/setup/modSetup.h"
#include "shell/mainwindow/frmMain.h"
#include "tests/common/TestSupport.h"

#include <QApplication>
#include <QFile>
#include <gtest/gtest.h>
#include <memory>

namespace picbasket::test {

// A main window over a program folder of its own, with message boxes and error
// reports recorded instead of shown.
class MainWindowTest : public ::testing::Test {
protected:
    void SetUp() override {
        overrideTwipsPerPixel(15, 15);
        picbasket::Setup = fncSetupDefaults();
    }
    void TearDown() override {
        window.reset();
        resetTwipsPerPixel();
        picbasket::Setup = fncSetupDefaults();
    }

    // Writes the current picbasket::Setup as the setup file the next start reads.
    void writeSetupFile() {
        SetupFile = AppPaths::setupFile();
        subSaveSetup();
    }

    frmMain& start() {
        window = std::make_unique<frmMain>();
        EXPECT_TRUE(window->Form_Load());
        window->resize(1000, 700);
        window->show();
        QApplication::processEvents();
        return *window;
    }

    // Closes the window as the user does, which runs the shut-down.
    void closeWindow() {
        window->close();
        QApplication::processEvents();
    }

    QByteArray setupFileBytes() const {
        QFile file(AppPaths::setupFile());
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }

    TempAppFolder folder;
    MessageRecorder messages;
    ErrorRecorder errors;
    std::unique_ptr<frmMain> window;
};

} // namespace picbasket::test
