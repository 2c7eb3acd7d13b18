#include "shell/dialogs/frmAbout.h"

#include "Version.h"
#include "core/HelpManual.h"
#include "platform/shell/modShell.h"

#include <QApplication>
#include <QEvent>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QMouseEvent>
#include <QPushButton>
#include <QStyle>

namespace picbasket {

namespace {

QLabel* textLabel(QWidget* parent, const char* name) {
    auto* label = new QLabel(parent);
    label->setObjectName(QString::fromLatin1(name));
    label->setTextFormat(Qt::PlainText);
    return label;
}

} // namespace

frmAbout::frmAbout(QWidget* parent, LinkOpener opener)
    : QDialog(parent), opener_(opener ? std::move(opener) : LinkOpener(subShellExecute)) {
    setObjectName(QStringLiteral("frmAbout"));
    setModal(true);
    buildControls();
    Form_Load();
}

QString frmAbout::webPage() {
    return helpManualStart();
}

void frmAbout::buildControls() {
    lblTitle = textLabel(this, "lblTitle");
    QFont bold = lblTitle->font();
    bold.setBold(true);
    bold.setPointSizeF(bold.pointSizeF() * 1.5);
    lblTitle->setFont(bold);
    lblEdition = textLabel(this, "lblEdition");
    lblVersion = textLabel(this, "lblVersion");
    lblDescription = textLabel(this, "lblDescription");
    lblCompany = textLabel(this, "lblCompany");
    lblCopyright = textLabel(this, "lblCopyright");
    lblTrademark = textLabel(this, "lblTrademark");
    Image1 = textLabel(this, "Image1");
    Image1->setPixmap(QApplication::windowIcon().isNull()
                          ? style()->standardIcon(QStyle::SP_ComputerIcon).pixmap(64, 64)
                          : QApplication::windowIcon().pixmap(64, 64));
    Image1->setCursor(Qt::PointingHandCursor);
    Image1->installEventFilter(this);
    lblCorvane = textLabel(this, "lblCorvane");
    lblCorvane->setText(webPage());
    lblCorvane->setCursor(Qt::PointingHandCursor);
    QFont link = lblCorvane->font();
    link.setUnderline(true);
    lblCorvane->setFont(link);
    lblCorvane->installEventFilter(this);
    cmdOK = new QPushButton(QStringLiteral("OK"), this);
    cmdOK->setObjectName(QStringLiteral("cmdOK"));
    cmdOK->setDefault(true);
    connect(cmdOK, &QPushButton::clicked, this, &frmAbout::cmdOK_Click);

    auto* layout = new QGridLayout(this);
    layout->addWidget(Image1, 0, 0, 4, 1, Qt::AlignTop);
    int row = 0;
    for (QLabel* label : {lblTitle, lblEdition, lblVersion, lblDescription, lblCompany,
                          lblCopyright, lblTrademark, lblCorvane})
        layout->addWidget(label, row++, 1);
    layout->addWidget(cmdOK, row, 1, Qt::AlignRight);
}

void frmAbout::Form_Load() {
    setWindowTitle(QStringLiteral("About ") + QString::fromUtf8(version::Title));
    lblTitle->setText(QString::fromUtf8(version::Title));
    lblEdition->setText(QString::fromUtf8(version::Comments));
    lblVersion->setText(QStringLiteral("Version %1.%2.%3")
                            .arg(version::Major)
                            .arg(version::Minor)
                            .arg(version::Revision));
    lblDescription->setText(QString::fromUtf8(version::Description));
    lblCompany->setText(QString::fromUtf8(version::Company));
    lblCopyright->setText(QString::fromUtf8(version::Copyright));
    lblTrademark->setText(QString::fromUtf8(version::Trademarks));
}

void frmAbout::Image1_Click() {
    opener_(webPage());
}

void frmAbout::lblCorvane_Click() {
    opener_(webPage());
}

void frmAbout::cmdOK_Click() {
    accept();
}

bool frmAbout::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::MouseButtonRelease &&
        static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton) {
        if (watched == Image1)
            Image1_Click();
        else if (watched == lblCorvane)
            lblCorvane_Click();
    }
    return QDialog::eventFilter(watched, event);
}

} // namespace picbasket
