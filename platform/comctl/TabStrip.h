#pragma once
#include <QWidget>

class QTabBar;

namespace picbasket {

// A row of tabs over a framed client area. Tabs are numbered from 1. The strip shows
// nothing itself in its client area: the host places the panel of the selected tab
// there (usually in response to Click).
class TabStrip : public QWidget {
    Q_OBJECT

public:
    explicit TabStrip(QWidget* parent = nullptr);

    int AddTab(const QString& caption, const QString& key = {});
    int Count() const;
    QString Caption(int tab) const;
    QString Key(int tab) const;
    // The selected tab, 0 when the strip has none.
    int SelectedItem() const;
    // Selecting another tab raises Click; an index out of range changes nothing.
    void setSelectedItem(int tab);
    // A disabled tab cannot be clicked; code may still select it.
    bool TabEnabled(int tab) const;
    void setTabEnabled(int tab, bool enabled);
    // Height of the tab row in pixels.
    int TabFixedHeight() const;
    // The client area below the tab row, in the strip's coordinates.
    QRect ClientArea() const;

signals:
    void Click();

protected:
    void resizeEvent(QResizeEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    QTabBar* bar_;
};

} // namespace picbasket
