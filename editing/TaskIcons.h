#pragma once
#include <QImage>
#include <QString>
#include <QStringList>

namespace picbasket {

// The keys of ilEdit, the task icons of the chooser and of the task basket's rows,
// in their order.
const QStringList& fncTaskIconKeys();
// A 16 by 16 task icon drawn for the key (exact case); a null image for another key.
QImage fncTaskIcon(const QString& key);
// The 32 by 32 picture at the head of the task chooser's group.
QImage fncTaskChartPicture();

} // namespace picbasket
