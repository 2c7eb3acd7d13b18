#include "export/GeneratorDemoDialog.h"

#include "controls/common/NumberGroup.h"
#include "controls/dialogs/modCommonDialog.h"
#include "core/HelpManual.h"
#include "core/MessageBox.h"
#include "platform/shell/modShell.h"

#include <QCheckBox>
#include <QEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMouseEvent>
#include <QPushButton>
#include <QScrollBar>
#include <QSlider>
#include <QVBoxLayout>

namespace picbasket {

namespace {
constexpr int32_t SaveFlags = 5; // OFN_READONLY | OFN_HIDEREADONLY
} // namespace

GeneratorDemoDialog::GeneratorDemoDialog(const GeneratorSources& sources, int16_t& qualityMember,
                                         uint8_t& processTasksMember, QWidget* parent,
                                         LinkOpener opener)
    : QDialog(parent), sources_(sources), qualityMember_(qualityMember),
      processTasksMember_(processTasksMember),
      opener_(opener ? std::move(opener) : LinkOpener(subShellExecute)) {
    setModal(true);
    buildControls();
}

void GeneratorDemoDialog::buildControls() {
    lblSelect = new QLabel(QStringLiteral("Select a plugin"), this);
    lstTemplate = new QListWidget(this);
    lstTemplate->setObjectName(QStringLiteral("lstTemplate"));
    lstTemplate->addItem(QStringLiteral("Fireworks!"));
    lstTemplate->setMaximumHeight(lstTemplate->fontMetrics().height() * 4);

    fraOptions = new QGroupBox(QStringLiteral("Options"), this);
    lblQualityCaption = new QLabel(QStringLiteral("Image Quality :"), fraOptions);
    sldQuality = new QSlider(Qt::Horizontal, fraOptions);
    sldQuality->setObjectName(QStringLiteral("sldQuality"));
    tTransition = new QLineEdit(fraOptions);
    tTransition->setObjectName(QStringLiteral("tTransition"));
    tTransition->setFixedWidth(
        tTransition->fontMetrics().horizontalAdvance(QStringLiteral("0000")) + 12);
    tTransitionD = new QScrollBar(fraOptions);
    tTransitionD->setObjectName(QStringLiteral("tTransitionD"));
    tTransitionD->setFixedHeight(tTransition->sizeHint().height());
    chkProcessTaskBasket = new QCheckBox(QStringLiteral("Process task basket"), fraOptions);
    chkProcessTaskBasket->setObjectName(QStringLiteral("chkProcessTaskBasket"));
    // An emptied box gets "1" back.
    quality = new NumberGroup(
        sldQuality, tTransition, tTransitionD, {1, 100, 5, 1, 5, 3}, [] { return 1; }, this);

    auto* options = new QGridLayout(fraOptions);
    options->addWidget(lblQualityCaption, 0, 0);
    options->addWidget(sldQuality, 0, 1);
    options->addWidget(tTransition, 0, 2);
    options->addWidget(tTransitionD, 0, 3);
    options->addWidget(chkProcessTaskBasket, 1, 0, 1, 4);
    options->setColumnStretch(1, 1);

    cmdGenerate = new QPushButton(QStringLiteral("Generate"), this);
    cmdGenerate->setObjectName(QStringLiteral("cmdGenerate"));
    cmdGenerate->setDefault(true);
    cmdCancel = new QPushButton(QStringLiteral("Exit"), this);
    cmdCancel->setObjectName(QStringLiteral("cmdCancel"));
    connect(cmdGenerate, &QPushButton::clicked, this, [this] { cmdGenerate_Click(); });
    connect(cmdCancel, &QPushButton::clicked, this, &GeneratorDemoDialog::cmdCancel_Click);

    lblCorvane = new QLabel(QStringLiteral("Click here to learn more..."), this);
    lblCorvane->setObjectName(QStringLiteral("lblCorvane"));
    lblCorvane->setCursor(Qt::PointingHandCursor);
    QFont link = lblCorvane->font();
    link.setUnderline(true);
    lblCorvane->setFont(link);
    QPalette palette = lblCorvane->palette();
    palette.setColor(QPalette::WindowText, palette.color(QPalette::Link));
    lblCorvane->setPalette(palette);
    lblCorvane->installEventFilter(this);

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(lblCorvane);
    buttons->addStretch();
    buttons->addWidget(cmdGenerate);
    buttons->addWidget(cmdCancel);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(lblSelect);
    layout->addWidget(lstTemplate);
    layout->addWidget(fraOptions);
    notes_ = new QVBoxLayout;
    layout->addLayout(notes_);
    layout->addLayout(buttons);
    setMinimumWidth(420);
}

void GeneratorDemoDialog::addNote(QLabel* note) {
    note->setWordWrap(true);
    notes_->addWidget(note);
}

void GeneratorDemoDialog::Form_Load() {
    lstTemplate->setCurrentRow(0);
    subSetupCommon();
}

void GeneratorDemoDialog::subSetupCommon() {
    quality->setValue(qualityMember_);
    chkProcessTaskBasket->setChecked(processTasksMember_ == 1);
}

void GeneratorDemoDialog::saveSetupCommon() {
    qualityMember_ = int16_t(sldQuality->value());
    processTasksMember_ = chkProcessTaskBasket->isChecked() ? 1 : 0;
}

void GeneratorDemoDialog::cmdCancel_Click() {
    reject();
}

void GeneratorDemoDialog::lblCorvane_Click() {
    opener_(helpManualStart());
}

bool GeneratorDemoDialog::eventFilter(QObject* watched, QEvent* event) {
    if (watched == lblCorvane && event->type() == QEvent::MouseButtonRelease &&
        static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton)
        lblCorvane_Click();
    return QDialog::eventFilter(watched, event);
}

QString GeneratorDemoDialog::fncAskOutputName(const QString& title, const QString& filter,
                                              const QString& extension) const {
    CommonDialog.hWndOwner = sources_.owner;
    CommonDialog.DialogTitle = title;
    CommonDialog.Filter = filter;
    CommonDialog.FileName.clear();
    CommonDialog.Flags = SaveFlags;
    fncShowSave();
    QString name = CommonDialog.FileName;
    if (!name.isEmpty() && !name.toLower().endsWith(extension))
        name += extension;
    return name;
}

QString GeneratorDemoDialog::fncExtractTemplate(const QString& name) const {
    const QString path = fncGetExtractPluginPath(name);
    if (path.isEmpty())
        msgBox(
            joinLines({QStringLiteral("There was an error!"), QStringLiteral("Please try again.")}),
            mb::Information);
    return path;
}

} // namespace picbasket
