#pragma once
#include <QString>
#include <QStringList>

namespace picbasket {

// The help manual: a few HTML pages installed with the program ("index.html" its first
// page, "tutorial.html" a first walk through the main road). The program has no web
// site of its own, so every link that stands for its pages (the about box, the about
// menu's "Tutorials" and "Visit Home Page", the generator window's "learn more") opens
// these pages.

// The places a page of the manual may be, in the order they are tried: beside the
// program (a build), the program's share folders (QStandardPaths::AppDataLocation),
// the share folder of the prefix the program is installed in.
QStringList helpManualPlaces(const QString& page);
// The first of those places that holds the page, else the first place.
QString findHelpManualPage(const QString& page);
// The manual's first page, found as findHelpManualPage does.
QString helpManualStart();

} // namespace picbasket
