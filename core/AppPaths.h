#pragma once
#include <QString>

namespace picbasket {

// Where the program and its files live.
//   program folder      the executable's folder
//   data root           the program folder when writable, else the per-user data folder
//   setup file          data root + "/" + executable name + ".setup"
//   temp page folder    data root + "/temp" (pages of split multipage files)
//   private temp folder a directory of this run only (mode 0700), removed at exit
// Tests override the program folder, the data root and the executable name.
class AppPaths {
public:
    static QString programFolder();
    static QString executableName();
    static QString dataRoot();
    static QString setupFile();
    static QString tempPageFolder();
    static QString privateTempFolder();

    static void overrideProgramFolder(const QString& folder);
    static void overrideDataRoot(const QString& folder);
    static void overrideExecutableName(const QString& name);
    // Drops every override (the next call computes the real paths again).
    static void resetOverrides();
};

} // namespace picbasket
