#pragma once
#include <QString>

namespace picbasket {

// Where the program and its files live. The program folder is only ever read (the
// manual that comes with a build); everything the program writes for itself belongs
// to the user:
//   program folder      the executable's folder (read only)
//   config folder       $XDG_CONFIG_HOME/PicBasket (QStandardPaths::AppConfigLocation)
//   setup file          config folder + "/" + executable name + ".setup"
//   temp page folder    a 0700 folder of the user's cache ("temp" under
//                       QStandardPaths::CacheLocation, else the runtime folder):
//                       pages of split multipage files and scans into the basket
//   pictures folder     QStandardPaths::PicturesLocation, the home when there is none;
//                       captures and scans go into folders under it
//   report folder       $XDG_STATE_HOME/PicBasket/reports (else ~/.local/state/...)
//   private temp folder a directory of this run only (mode 0700), removed at exit
// Tests override the program folder, the data root and the executable name; an
// overridden data root stands for every per-user folder at once (the setup file in
// it, "temp", "Captured", "Acquired/" and "reports" below it).
class AppPaths {
public:
    static QString programFolder();
    static QString executableName();
    // The per-user folder of the setup file (the config folder, or the override).
    static QString dataRoot();
    static QString setupFile();
    static QString tempPageFolder();
    // The user's pictures folder (the home when the desktop names none), which holds
    // "Captured" and "Acquired/"; they and it are made on first use.
    static QString picturesFolder();
    // Where the first-run defaults point (last folder, batch destination, basket
    // files): the pictures folder when it exists, else the home.
    static QString startFolder();
    static QString reportFolder();
    static QString privateTempFolder();

    static void overrideProgramFolder(const QString& folder);
    static void overrideDataRoot(const QString& folder);
    static void overrideExecutableName(const QString& name);
    // Drops every override (the next call computes the real paths again).
    static void resetOverrides();
};

} // namespace picbasket
