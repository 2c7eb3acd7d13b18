#include "controls/explorerbar/isExplorerBar.h"
#include "controls/splitter/Splitter.h"
#include "platform/comctl/StatusBar.h"
#include "platform/comctl/TabStrip.h"
#include "platform/imagebox/ImageBoxView.h"
#include "tests/ui/mainwindow/MainWindowFixture.h"

#include <QLabel>
#include <QPushButton>
#include <QTabBar>
#include <functional>

using namespace picbasket;
using picbasket::test::MainWindowTest;

namespace {

// Room a picture button keeps at its left for the picture and at its right.
constexpr int PictureRoom = 24 + 6;

std::string nameOf(const QWidget* widget, const QString& text = {}) {
    QString name = widget->objectName().isEmpty() ? QString::fromLatin1(widget->metaObject()->className())
                                                  : widget->objectName();
    if (!text.isEmpty())
        name += " \"" + text.trimmed() + "\"";
    return name.toStdString();
}

std::string text(const QRect& r) {
    return std::to_string(r.x()) + "," + std::to_string(r.y()) + " " + std::to_string(r.width()) +
           "x" + std::to_string(r.height());
}

// Empty when no pane or bar between the widget and the window cuts any of it, else
// which one does.
std::string cutBy(const QWidget* widget, const QWidget* window) {
    const QRect own(widget->mapTo(window, QPoint(0, 0)), widget->size());
    for (const QWidget* up = widget->parentWidget(); up; up = up->parentWidget()) {
        const QRect area(up->mapTo(window, QPoint(0, 0)), up->size());
        if (!area.contains(own))
            return " (at " + text(own) + ") is cut by " + nameOf(up) + " at " + text(area);
        if (up == window)
            break;
    }
    return {};
}

// Every caption the window shows, and every button, that is cut, squeezed or
// covered; one line each.
std::vector<std::string> cutCaptions(frmMain& w) {
    std::vector<std::string> faults;
    // The explorer bar scrolls its groups, so what it holds may lie beyond its view.
    for (QPushButton* button : w.findChildren<QPushButton*>()) {
        if (!button->isVisibleTo(&w) || w.editView().explorerBar()->isAncestorOf(button))
            continue;
        const QString caption = button->text().trimmed();
        if (const std::string cut = cutBy(button, &w); !cut.empty())
            faults.push_back(nameOf(button, caption) + cut);
        if (!caption.isEmpty() &&
            button->fontMetrics().horizontalAdvance(caption) + PictureRoom > button->width())
            faults.push_back(nameOf(button, caption) + " is too narrow for its caption");
    }
    for (QLabel* caption :
         {w.lblBrowse, w.metadataPane().caption(), w.folderPane().caption(), w.basketPane().caption()}) {
        if (!caption->isVisibleTo(&w))
            continue;
        const QRect title(caption->contentsMargins().left(), 0,
                          caption->fontMetrics().horizontalAdvance(caption->text()),
                          caption->fontMetrics().height());
        if (title.right() >= caption->width())
            faults.push_back(nameOf(caption, caption->text()) + " is wider than its pane");
        for (QWidget* bar : caption->findChildren<QWidget*>(QString(), Qt::FindDirectChildrenOnly))
            if (bar->isVisibleTo(&w) && bar->geometry().intersects(title))
                faults.push_back(nameOf(caption, caption->text()) + " is covered by its tool bar");
    }
    for (TabStrip* strip : {w.tbsBrowse, w.metadataPane().tabs()}) {
        if (!strip->isVisibleTo(&w))
            continue;
        const QTabBar* bar = strip->findChild<QTabBar*>();
        for (int i = 0; i < bar->count(); ++i) {
            const QRect tab = bar->tabRect(i);
            if (tab.right() >= bar->width() || bar->x() + bar->width() > strip->width() ||
                tab.width() < bar->fontMetrics().horizontalAdvance(bar->tabText(i)))
                faults.push_back("tab \"" + bar->tabText(i).toStdString() + "\" is cut");
        }
    }
    // The folder path may be shortened with an ellipsis; every other panel shows
    // its whole text, and no panel lies over another.
    int right = -1;
    for (int i = 1; i <= w.sbMain->Count(); ++i) {
        StatusPanel* panel = w.sbMain->Panel(i);
        if (panel->Key() != QLatin1String("folder") && panel->width() < panel->contentWidth())
            faults.push_back("status panel \"" + panel->Text().toStdString() + "\" is cut");
        if (panel->x() <= right || panel->geometry().right() >= w.sbMain->width())
            faults.push_back("status panel " + panel->Key().toStdString() + " overlaps");
        right = panel->geometry().right();
    }
    return faults;
}

std::string joined(const std::vector<std::string>& lines) {
    std::string all;
    for (const std::string& line : lines)
        all += "\n  " + line;
    return all;
}

void resizeTo(frmMain& w, QSize size) {
    w.resize(size);
    QApplication::processEvents();
    ASSERT_EQ(w.size(), size);
}

} // namespace

// The first size of the window and its least size, in the explorer view (with and
// without the metadata pane) and in the edit view.
TEST_F(MainWindowTest, EveryCaptionShowsWholeAtTheFirstAndTheLeastSize) {
    frmMain& w = start();
    QImage picture(300, 200, QImage::Format_RGB32);
    picture.fill(Qt::darkGreen);
    w.previewPane().box()->box().setImage(picture);
    const struct {
        const char* name;
        std::function<void()> enter;
    } views[] = {
        {"explorer view", [] {}},
        {"metadata pane hidden", [&] { w.subShowMetadataPane(false, false); }},
        {"metadata pane shown again", [&] { w.subShowMetadataPane(true, true); }},
        {"edit view", [&] { w.editView().CmdPreviewEdit_Click(); }},
    };
    for (const auto& view : views) {
        view.enter();
        for (const QSize size : {QSize(640, 480), w.minimumSize()}) {
            resizeTo(w, size);
            const std::vector<std::string> faults = cutCaptions(w);
            EXPECT_TRUE(faults.empty()) << view.name << " at " << size.width() << " x "
                                        << size.height() << ":" << joined(faults);
        }
    }
}

// Switching the layout moves picView; its tool bar must span the new width at once,
// with the right-hand buttons at its right end, not where the old width put them.
TEST_F(MainWindowTest, PreviewToolBarFollowsPicViewWhenTheLayoutSwitches) {
    frmMain& w = start();
    QImage picture(300, 200, QImage::Format_RGB32);
    picture.fill(Qt::darkBlue);
    w.previewPane().box()->box().setImage(picture);
    w.subResize();
    const struct {
        const char* name;
        std::function<void()> enter;
    } switches[] = {
        {"metadata pane hidden", [&] { w.subShowMetadataPane(false, false); }},
        {"metadata pane shown", [&] { w.subShowMetadataPane(true, false); }},
        {"edit view", [&] { w.editView().CmdPreviewEdit_Click(); }},
        {"explorer view", [&] { w.editView().CmdPreviewEdit_Click(); }},
    };
    for (const auto& change : switches) {
        change.enter();
        EXPECT_EQ(w.previewPane().toolbar()->width(), w.previewPane().view()->width())
            << change.name;
        const QRect save(
            w.previewPane().saveButton()->mapTo(w.previewPane().toolbar(), QPoint(0, 0)),
            w.previewPane().saveButton()->size());
        EXPECT_EQ(save.right(), w.previewPane().toolbar()->width() - 2) << change.name;
        EXPECT_EQ(w.previewPane().imageHolder()->y() - (w.previewPane().imageHolder()->y() >
                                                       w.previewPane().toolbar()->height()),
                  w.previewPane().toolbar()->height())
            << change.name << ": the image starts below the tool bar";
    }
}

// The status bar's share of its width: whole texts first, then design widths.
TEST(StatusPanelWidths, ContentBeforeDesignAndFreePanelsTakeTheRest) {
    // free "No file selected", fixed empty 70, fixed 150 with a 130 text, free path
    const std::vector<StatusPanelNeed> panels{{110, 0}, {10, 70}, {130, 150}, {300, 0}};
    const struct {
        int width;
        std::vector<int> expected;
    } rows[] = {
        {1000, {292, 70, 150, 482}}, // all of it; the rest goes to the free panels
        {560, {110, 12, 132, 300}},  // whole texts first, then towards the design widths
        {400, {110, 10, 130, 144}},  // the path panel is shortened, every other text whole
        {250, {52, 10, 130, 52}},    // free panels at their floor and a little more
        {200, {35, 8, 114, 35}},     // below what the contents need: in proportion
    };
    for (const auto& row : rows) {
        const std::vector<int> widths = fncStatusPanelWidths(panels, row.width, 2);
        EXPECT_EQ(widths, row.expected) << row.width;
        int used = 6;
        for (int w : widths)
            used += w;
        EXPECT_LE(used, row.width) << row.width;
    }
}
