#pragma once
#include <QDialog>
#include <functional>

class QLabel;
class QPushButton;

namespace picbasket {

// The about box: the program's title and version data and a link to its own pages,
// the help manual (it has no web site).
class frmAbout : public QDialog {
    Q_OBJECT

public:
    // Opens an address with the desktop's default program; tests pass a recorder.
    using LinkOpener = std::function<bool(const QString&)>;

    explicit frmAbout(QWidget* parent = nullptr, LinkOpener opener = {});

    // The program's own pages, opened by the logo and the address label: the help
    // manual's first page (helpManualStart).
    static QString webPage();

    // Fills the labels from the version data.
    void Form_Load();
    void Image1_Click();
    void lblCorvane_Click();
    void cmdOK_Click();

    QLabel* lblTitle = nullptr;
    QLabel* lblEdition = nullptr;
    QLabel* lblVersion = nullptr;
    QLabel* lblDescription = nullptr;
    QLabel* lblCompany = nullptr;
    QLabel* lblCopyright = nullptr;
    QLabel* lblTrademark = nullptr;
    QLabel* Image1 = nullptr;
    QLabel* lblCorvane = nullptr;
    QPushButton* cmdOK = nullptr;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void buildControls();
    LinkOpener opener_;
};

} // namespace picbasket
