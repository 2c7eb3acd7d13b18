#include "core/HelpManual.h"

#include "core/AppPaths.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

namespace picbasket {

QStringList helpManualPlaces(const QString& page) {
    const QString relative = QStringLiteral("manual/") + page;
    QString program = AppPaths::programFolder();
    if (!program.endsWith(QLatin1Char('/')))
        program += QLatin1Char('/');
    QStringList places = {program + relative};
    for (const QString& share : QStandardPaths::standardLocations(QStandardPaths::AppDataLocation))
        places << share + QLatin1Char('/') + relative;
    places << QDir::cleanPath(program + QStringLiteral("../share/") +
                              QCoreApplication::applicationName() + QLatin1Char('/') + relative);
    places.removeDuplicates();
    return places;
}

QString findHelpManualPage(const QString& page) {
    const QStringList places = helpManualPlaces(page);
    for (const QString& place : places)
        if (QFileInfo(place).isFile())
            return place;
    return places.first();
}

QString helpManualStart() {
    return findHelpManualPage(QStringLiteral("index.html"));
}

} // namespace picbasket
