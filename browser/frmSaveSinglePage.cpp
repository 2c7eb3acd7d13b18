#include "browser/frmSaveSinglePage.h"

#include "controls/common/NumberGroup.h"
#include "controls/dialogs/modBrowseForFolder.h"
#include "core/MessageBox.h"
#include "core/modFileSystem.h"
#include "core/setup/modSetup.h"
#include "engine/batch/modNamingRules.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpressionValidator>
#include <QScrollBar>
#include <QSlider>
#include <QVBoxLayout>
#include <limits>

namespace picbasket {

namespace {

const char* const Separators[] = {
    "_", "-", "=", ",", ".", ";", "!", "AND", "[WhiteSpace]", "[No Separator]"};

const QString StartingOne = QStringLiteral("[Starting 1]");
const QString StartingThousand = QStringLiteral("[Starting 1001]");

void fill(QComboBox* combo, const char* const* first, const char* const* last) {
    combo->clear();
    for (auto it = first; it != last; ++it)
        combo->addItem(QString::fromLatin1(*it));
}

// The option buttons of one array, shown in the order given, addressed by index.
template <size_t N>
QButtonGroup* optionArray(QWidget* parent, std::array<QRadioButton*, N>& buttons,
                          const std::array<int, N>& shownOrder,
                          const std::array<const char*, N>& captions) {
    auto* group = new QButtonGroup(parent);
    for (size_t i = 0; i < N; ++i) {
        const int index = shownOrder[i];
        buttons[size_t(index)] = new QRadioButton(QString::fromUtf8(captions[i]), parent);
        group->addButton(buttons[size_t(index)], index);
    }
    return group;
}

QLabel* example(const QString& text, QWidget* parent) {
    auto* label = new QLabel(text, parent);
    label->setEnabled(false);
    return label;
}

} // namespace

const QString frmSaveSinglePage::ForbiddenNameCharacters = QStringLiteral("\"*/:<>?\\|");

frmSaveSinglePage::frmSaveSinglePage(QWidget* owner) : QDialog(owner) {
    setObjectName(QStringLiteral("frmSaveSinglePage"));
    setWindowTitle(QStringLiteral("Save JPEG2000 in batch mode"));
    setModal(true);
    auto* layout = new QVBoxLayout(this);
    auto* top = new QHBoxLayout;
    top->addWidget(buildJpeg2000Frame(), 1);
    top->addWidget(buildDestinationFrame(), 1);
    layout->addLayout(top);
    layout->addWidget(buildNameFrame());
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    cmdStarConversion = new QPushButton(QStringLiteral("Save"), this);
    cmdCancel = new QPushButton(QStringLiteral("E&xit"), this);
    cmdStarConversion->setDefault(true);
    buttons->addWidget(cmdStarConversion);
    buttons->addWidget(cmdCancel);
    layout->addLayout(buttons);
    rate_ = new NumberGroup(
        sldJPEG2000Compression, txtJPG2000Compression, txtJPG2000CompressionD, {1, 25, 2, 1, 5, 2},
        [] { return int(Setup.BatchSave.Rate); }, this);
    connectOptions();
    subSetup();
}

QGroupBox* frmSaveSinglePage::buildJpeg2000Frame() {
    auto* frame = new QGroupBox(QStringLiteral("JPEG 2000 Options"), this);
    auto* grid = new QGridLayout(frame);
    grid->addWidget(new QLabel(QStringLiteral("Format"), frame), 0, 0);
    cboJPEG2000 = new QComboBox(frame);
    grid->addWidget(cboJPEG2000, 0, 1);
    auto* compression = new QGroupBox(QStringLiteral("Compression"), frame);
    auto* column = new QVBoxLayout(compression);
    auto* group = optionArray<2>(compression, optJPG2000Compression, {1, 0}, {"Lossy", "Loseless"});
    group->setObjectName(QStringLiteral("optJPG2000Compression"));
    column->addWidget(optJPG2000Compression[1]);
    column->addWidget(optJPG2000Compression[0]);
    picFrameJPG2000Lossy = new QWidget(compression);
    auto* numbers = new QHBoxLayout(picFrameJPG2000Lossy);
    numbers->setContentsMargins(0, 0, 0, 0);
    numbers->setSpacing(2);
    sldJPEG2000Compression = new QSlider(Qt::Horizontal, picFrameJPG2000Lossy);
    txtJPG2000Compression = new QLineEdit(picFrameJPG2000Lossy);
    txtJPG2000CompressionD = new QScrollBar(Qt::Vertical, picFrameJPG2000Lossy);
    txtJPG2000Compression->setFixedWidth(
        txtJPG2000Compression->fontMetrics().horizontalAdvance(QStringLiteral("0000")) + 10);
    txtJPG2000CompressionD->setFixedSize(16, txtJPG2000Compression->sizeHint().height());
    numbers->addWidget(new QLabel(QStringLiteral("Rate"), picFrameJPG2000Lossy));
    numbers->addWidget(sldJPEG2000Compression, 1);
    numbers->addWidget(txtJPG2000Compression);
    numbers->addWidget(txtJPG2000CompressionD);
    column->addWidget(picFrameJPG2000Lossy);
    grid->addWidget(compression, 1, 0, 1, 2);
    grid->setRowStretch(2, 1);
    return frame;
}

QGroupBox* frmSaveSinglePage::buildDestinationFrame() {
    auto* frame = new QGroupBox(QStringLiteral("Destination Folder"), this);
    auto* grid = new QGridLayout(frame);
    optionArray<2>(frame, optDestinationFolder, {1, 0},
                   {"Place the output files to the following folder",
                    "Place the output files to the source folder"});
    grid->addWidget(optDestinationFolder[1], 0, 0, 1, 2);
    txtDestinationFolder = new QLineEdit(frame);
    cmdBrowseFolder = new QPushButton(QStringLiteral("Browse"), frame);
    grid->addWidget(txtDestinationFolder, 1, 0);
    grid->addWidget(cmdBrowseFolder, 1, 1);
    grid->addWidget(optDestinationFolder[0], 2, 0, 1, 2);
    chkOverwrite = new QCheckBox(QStringLiteral("Overwrite existing files"), frame);
    chkProcessEditingList = new QCheckBox(QStringLiteral("Process task basket"), frame);
    grid->addWidget(chkOverwrite, 3, 0, 1, 2);
    grid->addWidget(chkProcessEditingList, 4, 0, 1, 2);
    grid->setRowStretch(5, 1);
    grid->setColumnStretch(0, 1);
    return frame;
}

// The naming combos take any text but the characters a file name cannot hold,
// whether typed or pasted.
QComboBox* frmSaveSinglePage::namingCombo(QWidget* parent) {
    auto* combo = new QComboBox(parent);
    combo->setEditable(true);
    combo->setInsertPolicy(QComboBox::NoInsert);
    static const QRegularExpression allowed(QStringLiteral("[^\"*/:<>?\\\\|]*"));
    combo->setValidator(new QRegularExpressionValidator(allowed, combo));
    combo->setMinimumContentsLength(10);
    return combo;
}

QGroupBox* frmSaveSinglePage::buildNameFrame() {
    auto* frame = new QGroupBox(QStringLiteral("File name"), this);
    auto* grid = new QGridLayout(frame);
    optionArray<3>(frame, OptName, {0, 1, 2},
                   {"Retain the original filename (extension will differ)", "Hybrid", "Generic "});
    grid->addWidget(OptName[0], 0, 0, 1, 3);
    grid->addWidget(example(QStringLiteral("Eg. sample.tif"), frame), 0, 4);

    grid->addWidget(OptName[1], 1, 0, 1, 5);
    cboRenamePrefix = namingCombo(frame);
    cboSeparator1 = namingCombo(frame);
    cboSeparator2 = namingCombo(frame);
    cboRenameSuffix = namingCombo(frame);
    auto* hybrid = new QGridLayout;
    const QStringList captions{QStringLiteral("Prefix"), QStringLiteral("Separator"),
                               QStringLiteral("Original filename"), QStringLiteral("Separator"),
                               QStringLiteral("Postfix")};
    for (int c = 0; c < captions.size(); ++c)
        hybrid->addWidget(new QLabel(captions[c], frame), 0, c);
    hybrid->addWidget(cboRenamePrefix, 1, 0);
    hybrid->addWidget(cboSeparator1, 1, 1);
    hybrid->addWidget(example(QStringLiteral("sample"), frame), 1, 2, Qt::AlignCenter);
    hybrid->addWidget(cboSeparator2, 1, 3);
    hybrid->addWidget(cboRenameSuffix, 1, 4);
    grid->addLayout(hybrid, 2, 0, 1, 4);
    grid->addWidget(example(QStringLiteral("Eg. Prefix_sample_Postfix.tif"), frame), 2, 4,
                    Qt::AlignBottom);

    grid->addWidget(OptName[2], 3, 0, 1, 5);
    txtRenameGeneric = new QLineEdit(frame);
    cboRenameGeneric = new QComboBox(frame);
    cboRenameGeneric->setEditable(true);
    cboRenameGeneric->setInsertPolicy(QComboBox::NoInsert);
    cboRenameGeneric->lineEdit()->installEventFilter(this);
    auto* generic = new QGridLayout;
    generic->addWidget(new QLabel(QStringLiteral("Specify a generic name"), frame), 0, 0);
    generic->addWidget(new QLabel(QStringLiteral("Count (identity token)"), frame), 0, 1);
    generic->addWidget(txtRenameGeneric, 1, 0);
    generic->addWidget(cboRenameGeneric, 1, 1);
    grid->addLayout(generic, 4, 0, 1, 4);
    grid->addWidget(example(QStringLiteral("Eg. Sample1.tif"), frame), 4, 4, Qt::AlignBottom);
    grid->setColumnStretch(3, 1);
    return frame;
}

void frmSaveSinglePage::connectOptions() {
    for (int i = 0; i < 2; ++i) {
        connect(optJPG2000Compression[size_t(i)], &QRadioButton::toggled, this, [this, i](bool on) {
            if (on)
                optJPG2000Compression_Click(i);
        });
        connect(optDestinationFolder[size_t(i)], &QRadioButton::toggled, this, [this, i](bool on) {
            if (on)
                optDestinationFolder_Click(i);
        });
    }
    for (int i = 0; i < 3; ++i)
        connect(OptName[size_t(i)], &QRadioButton::toggled, this, [this, i](bool on) {
            if (on)
                OptName_Click(i);
        });
    connect(cmdStarConversion, &QPushButton::clicked, this,
            &frmSaveSinglePage::cmdStarConversion_Click);
    connect(cmdCancel, &QPushButton::clicked, this, &frmSaveSinglePage::cmdCancel_Click);
    connect(cmdBrowseFolder, &QPushButton::clicked, this,
            &frmSaveSinglePage::cmdBrowseFolder_Click);
}

void frmSaveSinglePage::subSetup() {
    typBatchSave& options = Setup.BatchSave;
    cboJPEG2000->clear();
    cboJPEG2000->addItem(QStringLiteral("JPEG2000 JP2"));
    cboJPEG2000->addItem(QStringLiteral("JPEG2000 JPC"));
    cboJPEG2000->setCurrentIndex(options.Codestream == 1 ? 1 : 0);
    const int lossy = options.Lossy == 0 ? 0 : 1;
    optJPG2000Compression[size_t(lossy)]->setChecked(true);
    optJPG2000Compression_Click(lossy);
    rate_->setValue(options.Rate);
    const int name = options.NameMode >= 0 && options.NameMode <= 2 ? options.NameMode : 0;
    OptName[size_t(name)]->setChecked(true);
    OptName_Click(name);
    for (QComboBox* combo : {cboRenamePrefix, cboRenameSuffix}) {
        combo->clear();
        combo->addItems(fncNamingTokens());
    }
    cboRenamePrefix->setEditText(options.Prefix);
    cboRenameSuffix->setEditText(options.Suffix);
    fill(cboSeparator1, std::begin(Separators), std::end(Separators));
    fill(cboSeparator2, std::begin(Separators), std::end(Separators));
    cboSeparator1->setEditText(options.Separator1);
    cboSeparator2->setEditText(options.Separator2);
    txtRenameGeneric->setText(options.GenericName);
    cboRenameGeneric->clear();
    cboRenameGeneric->addItem(StartingOne);
    cboRenameGeneric->addItem(StartingThousand);
    cboRenameGeneric->setEditText(options.Counter);
    const int destination = options.DestinationMode == 1 ? 1 : 0;
    optDestinationFolder[size_t(destination)]->setChecked(true);
    optDestinationFolder_Click(destination);
    txtDestinationFolder->setText(options.DestinationFolder);
    chkOverwrite->setChecked(options.Overwrite == 1);
    chkProcessEditingList->setChecked(options.ProcessTasks == 1);
}

void frmSaveSinglePage::optJPG2000Compression_Click(int index) {
    picFrameJPG2000Lossy->setEnabled(index == 1);
    Setup.BatchSave.Lossy = index == 1 ? 1 : 0;
}

void frmSaveSinglePage::OptName_Click(int index) {
    Setup.BatchSave.NameMode = int16_t(index);
    for (QComboBox* combo : {cboRenamePrefix, cboRenameSuffix, cboSeparator1, cboSeparator2})
        combo->setEnabled(index == 1);
    txtRenameGeneric->setEnabled(index == 2);
    cboRenameGeneric->setEnabled(index == 2);
}

void frmSaveSinglePage::optDestinationFolder_Click(int index) {
    Setup.BatchSave.DestinationMode = index == 1 ? 1 : 0;
    txtDestinationFolder->setEnabled(index == 1);
    cmdBrowseFolder->setEnabled(index == 1);
}

void frmSaveSinglePage::cmdBrowseFolder_Click() {
    const QString chosen = fncBrowseDestinationFolder(this, txtDestinationFolder->text());
    if (!chosen.isEmpty())
        txtDestinationFolder->setText(chosen);
}

bool frmSaveSinglePage::fncIsCounterText(const QString& trimmed) {
    if (trimmed == StartingOne || trimmed == StartingThousand)
        return true;
    static const QRegularExpression decimal(QStringLiteral("^[+-]?[0-9]+$"));
    if (!decimal.match(trimmed).hasMatch())
        return false;
    bool ok = false;
    const qlonglong n = trimmed.toLongLong(&ok);
    return ok && n >= std::numeric_limits<int32_t>::min() &&
           n <= std::numeric_limits<int32_t>::max();
}

// The options are stored before the count is checked, so a refused count keeps what
// was chosen; Confirmed only once the checks pass.
void frmSaveSinglePage::cmdStarConversion_Click() {
    typBatchSave& options = Setup.BatchSave;
    const QString counter = cboRenameGeneric->currentText().trimmed();
    options.Suffix = cboRenameSuffix->currentText();
    options.Prefix = cboRenamePrefix->currentText();
    options.Separator1 = cboSeparator1->currentText();
    options.Separator2 = cboSeparator2->currentText();
    options.GenericName = txtRenameGeneric->text();
    options.Counter = counter;
    options.Overwrite = chkOverwrite->isChecked() ? 1 : 0;
    options.Codestream = uint8_t(std::max(0, cboJPEG2000->currentIndex()));
    options.Lossy = optJPG2000Compression[0]->isChecked() ? 0 : 1;
    options.Rate = int16_t(sldJPEG2000Compression->value());
    if (counter.isEmpty()) {
        msgBox(QStringLiteral("The count variable cannot be empty!"), mb::Information);
        return;
    }
    if (!fncIsCounterText(counter)) {
        msgBox(QStringLiteral("Count should be numeric!"), mb::Information);
        return;
    }
    QString folder = txtDestinationFolder->text();
    options.DestinationFolder = subAddBackslash(folder);
    options.ProcessTasks = chkProcessEditingList->isChecked() ? 1 : 0;
    options.Confirmed = true;
    accept();
}

void frmSaveSinglePage::cmdCancel_Click() {
    Setup.BatchSave.Confirmed = false;
    QDialog::reject();
}

void frmSaveSinglePage::reject() {
    cmdCancel_Click();
}

// The count takes digits and Backspace as typed (shortcuts such as paste still
// work); pasted text is checked by Save.
bool frmSaveSinglePage::eventFilter(QObject* watched, QEvent* event) {
    if (watched == cboRenameGeneric->lineEdit() && event->type() == QEvent::KeyPress) {
        const auto* key = static_cast<QKeyEvent*>(event);
        const QString text = key->text();
        const bool typed = !text.isEmpty() && text.at(0).isPrint() &&
                           !key->modifiers().testFlag(Qt::ControlModifier);
        const bool digit =
            text.size() == 1 && text.at(0) >= QLatin1Char('0') && text.at(0) <= QLatin1Char('9');
        if (typed && !digit)
            return true;
    }
    return QDialog::eventFilter(watched, event);
}

} // namespace picbasket
