#include "metadata/frmInsertMetadata.h"

#include <QCheckBox>
#include <QListWidget>
#include <QPointer>
#include <QPushButton>
#include <QResizeEvent>

namespace picbasket {

namespace {

constexpr int Margin = 6;
constexpr int ButtonWidth = 75;
constexpr int ButtonHeight = 25;
constexpr int MinimumWidth = 200;
constexpr int MinimumHeight = 300;

const char* const ExifTags[] = {"Make",
                                "Model",
                                "Date/Time",
                                "Image Description",
                                "Artist",
                                "Copyright",
                                "Date/Time Original",
                                "Date/Time Digitized",
                                "User Comment",
                                "Pixel X Dimension",
                                "Pixel Y Dimension"};

const char* const IptcTags[] = {"Caption",
                                "Caption Writer",
                                "Headline",
                                "Special Instructions",
                                "By (Author)",
                                "By Title (Author's Position)",
                                "Credit",
                                "Source",
                                "Object Name (Title)",
                                "City",
                                "Province/State",
                                "Country Name",
                                "Original Transmission Reference (OTR)",
                                "Copyright Notice",
                                "Image URL",
                                "Date Created",
                                "Image Notes",
                                "Category",
                                "Keywords",
                                "Supplemental Categories",
                                "Edit Status",
                                "Fixture Identifier",
                                "Date Released",
                                "Time Released",
                                "Reference Service",
                                "Reference Date",
                                "Reference Number",
                                "Time Created",
                                "Originating Program",
                                "Program Version",
                                "Object Cycle",
                                "Sublocation",
                                "Country Code",
                                "Local Caption"};

} // namespace

frmInsertMetadata::frmInsertMetadata(QWidget* owner) : QDialog(owner) {
    setObjectName(QStringLiteral("frmInsertMetadata"));
    setWindowTitle(QStringLiteral("Insertable metadata tags"));
    setModal(true);
    chkSelectAll = new QCheckBox(QStringLiteral("Select All"), this);
    lstMetadata = new QListWidget(this);
    picOK = new QWidget(this);
    cmdOK = new QPushButton(QStringLiteral("OK"), picOK);
    cmdCancel = new QPushButton(QStringLiteral("Cancel"), picOK);
    cmdOK->setDefault(true);
    connect(chkSelectAll, &QCheckBox::toggled, this, &frmInsertMetadata::chkSelectAll_Click);
    connect(cmdOK, &QPushButton::clicked, this, &frmInsertMetadata::cmdOK_Click);
    connect(cmdCancel, &QPushButton::clicked, this, &frmInsertMetadata::cmdCancel_Click);
    setMinimumSize(MinimumWidth, MinimumHeight);
    resize(320, 420);
    Form_Load();
}

frmInsertMetadata& frmInsertMetadata::instance(QWidget* owner) {
    static QPointer<frmInsertMetadata> window;
    if (!window)
        window = new frmInsertMetadata(owner);
    return *window;
}

void frmInsertMetadata::Form_Load() {
    QStringList items;
    for (const char* tag : ExifTags)
        items << QStringLiteral("EXIF - ") + QString::fromUtf8(tag);
    for (const char* tag : IptcTags)
        items << QStringLiteral("IPTC - ") + QString::fromUtf8(tag);
    for (int n = 1; n <= 20; ++n)
        items << QStringLiteral("IPTC - Custom Field %1").arg(n);
    for (const QString& text : items) {
        auto* item = new QListWidgetItem(text, lstMetadata);
        item->setFlags(item->flags() | Qt::ItemIsUserCheckable);
        item->setCheckState(Qt::Unchecked);
    }
}

QStringList frmInsertMetadata::TickedItems() const {
    QStringList ticked;
    for (int i = 0; i < lstMetadata->count(); ++i)
        if (lstMetadata->item(i)->checkState() == Qt::Checked)
            ticked << lstMetadata->item(i)->text();
    return ticked;
}

void frmInsertMetadata::setAllTicks(bool ticked) {
    for (int i = 0; i < lstMetadata->count(); ++i)
        lstMetadata->item(i)->setCheckState(ticked ? Qt::Checked : Qt::Unchecked);
}

void frmInsertMetadata::chkSelectAll_Click(bool ticked) {
    setAllTicks(ticked);
}

void frmInsertMetadata::cmdOK_Click() {
    hide();
}

// "Select All" is cleared too, so the window opens again in step with its list.
void frmInsertMetadata::cmdCancel_Click() {
    hide();
    chkSelectAll->setChecked(false);
    setAllTicks(false);
}

void frmInsertMetadata::reject() {
    cmdCancel_Click();
    QDialog::reject();
}

// "Select All" at the top, the list filling what is left, the buttons along the bottom.
void frmInsertMetadata::resizeEvent(QResizeEvent* event) {
    QDialog::resizeEvent(event);
    const int w = width(), h = height();
    const int checkHeight = chkSelectAll->sizeHint().height();
    chkSelectAll->setGeometry(Margin, Margin, w - 2 * Margin, checkHeight);
    const int barHeight = ButtonHeight + 2 * Margin;
    picOK->setGeometry(0, h - barHeight, w, barHeight);
    cmdCancel->setGeometry(w - Margin - ButtonWidth, Margin, ButtonWidth, ButtonHeight);
    cmdOK->setGeometry(cmdCancel->x() - Margin - ButtonWidth, Margin, ButtonWidth, ButtonHeight);
    const int listTop = chkSelectAll->y() + checkHeight + Margin;
    lstMetadata->setGeometry(Margin, listTop, w - 2 * Margin, picOK->y() - listTop);
}

} // namespace picbasket
