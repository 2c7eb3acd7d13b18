#include "platform/comctl/ListView.h"
#include "platform/comctl/ProgressBar.h"

#include <QApplication>
#include <QFocusEvent>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMimeData>
#include <QSignalSpy>
#include <QTest>
#include <QTreeView>
#include <gtest/gtest.h>

using namespace picbasket;

namespace {

// A shown report with three rows, its events written into one journal in the order
// they come.
struct JournalList {
    ListView list;
    QStringList journal;

    JournalList() {
        list.AddColumn(QStringLiteral("File Name"));
        for (const char* name : {"a.jpg", "b.jpg", "c.jpg"})
            list.AddItem(QString::fromLatin1(name));
        list.resize(300, 200);
        list.show();
        QObject::connect(&list, &ListView::ItemClick, [this](int row) {
            journal
                << QStringLiteral("ItemClick %1 selected %2").arg(row).arg(list.SelectedCount());
        });
        QObject::connect(&list, &ListView::MouseUp, [this](int button, int shift, int, int) {
            journal << QStringLiteral("MouseUp %1 %2").arg(button).arg(shift);
        });
        QObject::connect(&list, &ListView::KeyUp, [this](int code, int shift) {
            journal << QStringLiteral("KeyUp %1 %2").arg(code).arg(shift);
        });
        QObject::connect(&list, &ListView::KeyPress, [this](int ascii) {
            journal << QStringLiteral("KeyPress %1").arg(ascii);
        });
        QObject::connect(&list, &ListView::GotFocus, [this] { journal << "GotFocus"; });
        QObject::connect(&list, &ListView::LostFocus, [this] { journal << "LostFocus"; });
    }

    QWidget* viewport() const { return list.reportView()->viewport(); }
    QPoint rowCentre(int row) const {
        QTreeView* view = list.reportView();
        return view->visualRect(view->model()->index(row - 1, 0)).center();
    }
    void send(QEvent::Type type, int key, Qt::KeyboardModifiers modifiers, bool autoRepeat,
              const QString& text = {}) {
        QKeyEvent event(type, key, modifiers, text, autoRepeat);
        QApplication::sendEvent(list.reportView(), &event);
    }
};

} // namespace

// The folder list's release handler reads what its click handler decided, so the
// click must come first, and a release on no row still raises MouseUp.
TEST(ListViewEvents, ItemClickComesBeforeMouseUp) {
    JournalList l;
    QTest::mouseClick(l.viewport(), Qt::LeftButton, Qt::NoModifier, l.rowCentre(2));
    QTest::mouseClick(l.viewport(), Qt::RightButton, Qt::ShiftModifier, l.rowCentre(1));
    QTest::mouseClick(l.viewport(), Qt::LeftButton, Qt::NoModifier, QPoint(250, 190));
    // The right button selects the row on its press but is no click.
    const QStringList expected{"ItemClick 2 selected 1", "MouseUp 1 0", "MouseUp 2 1",
                               "MouseUp 1 0"};
    QStringList mouse;
    for (const QString& entry : l.journal)
        if (entry.startsWith("ItemClick") || entry.startsWith("MouseUp"))
            mouse << entry;
    EXPECT_EQ(mouse, expected);
}

// A held arrow key repeats press and release pairs; only the final release counts,
// so the folder list previews once.
TEST(ListViewEvents, AutoRepeatedKeyRaisesKeyUpOnce) {
    JournalList l;
    l.send(QEvent::KeyPress, Qt::Key_Down, Qt::NoModifier, false);
    for (int i = 0; i < 3; ++i) {
        l.send(QEvent::KeyRelease, Qt::Key_Down, Qt::NoModifier, true);
        l.send(QEvent::KeyPress, Qt::Key_Down, Qt::NoModifier, true);
    }
    l.send(QEvent::KeyRelease, Qt::Key_Down, Qt::NoModifier, false);
    EXPECT_EQ(l.journal.filter("KeyUp"), QStringList{"KeyUp 40 0"});
}

TEST(ListViewEvents, KeyCodesAndTypedCharacters) {
    struct Case {
        int key;
        Qt::KeyboardModifiers modifiers;
        const char* text;
        const char* keyUp;
        const char* keyPress; // nullptr: types nothing
    };
    const Case cases[] = {
        {Qt::Key_Left, Qt::NoModifier, "", "KeyUp 37 0", nullptr},
        {Qt::Key_Up, Qt::ShiftModifier, "", "KeyUp 38 1", nullptr},
        {Qt::Key_Right, Qt::ControlModifier, "", "KeyUp 39 2", nullptr},
        {Qt::Key_Down, Qt::AltModifier, "", "KeyUp 40 4", nullptr},
        {Qt::Key_Return, Qt::NoModifier, "\r", "KeyUp 13 0", "KeyPress 13"},
        {Qt::Key_Enter, Qt::KeypadModifier, "\r", "KeyUp 13 0", "KeyPress 13"},
        {Qt::Key_A, Qt::ControlModifier, "", "KeyUp 65 2", "KeyPress 1"},
        {Qt::Key_X, Qt::NoModifier, "x", "KeyUp 88 0", "KeyPress 120"},
    };
    for (const Case& c : cases) {
        JournalList l;
        l.send(QEvent::KeyPress, c.key, c.modifiers, false, QString::fromLatin1(c.text));
        l.send(QEvent::KeyRelease, c.key, c.modifiers, false, QString::fromLatin1(c.text));
        EXPECT_EQ(l.journal.filter("KeyUp"), QStringList{c.keyUp}) << c.keyUp;
        EXPECT_EQ(l.journal.filter("KeyPress"),
                  c.keyPress ? QStringList{c.keyPress} : QStringList{})
            << c.keyUp;
    }
}

// A pop-up menu over the list takes the focus only for a moment.
TEST(ListViewEvents, FocusEventsIgnoreAPopUpMenu) {
    JournalList l;
    const std::pair<Qt::FocusReason, bool> cases[] = {{Qt::PopupFocusReason, false},
                                                      {Qt::MouseFocusReason, true},
                                                      {Qt::TabFocusReason, true},
                                                      {Qt::ActiveWindowFocusReason, true}};
    for (const auto& [reason, lost] : cases) {
        l.journal.clear();
        QFocusEvent in(QEvent::FocusIn, reason);
        QApplication::sendEvent(l.list.reportView(), &in);
        QFocusEvent out(QEvent::FocusOut, reason);
        QApplication::sendEvent(l.list.reportView(), &out);
        EXPECT_EQ(l.journal,
                  lost ? QStringList({"GotFocus", "LostFocus"}) : QStringList{"GotFocus"})
            << reason;
    }
}

// A drop reaches the list only when it takes drops; its rows never move.
TEST(ListViewEvents, DropRaisesOLEDragDropInDropMode) {
    for (const bool mode : {true, false}) {
        JournalList l;
        l.list.setOLEDropMode(mode);
        QSignalSpy dropped(&l.list, &ListView::OLEDragDrop);
        QMimeData data;
        data.setUrls({QUrl::fromLocalFile("/tmp/a.jpg")});
        QDropEvent drop(QPointF(l.rowCentre(1)), Qt::CopyAction | Qt::MoveAction, &data,
                        Qt::LeftButton, Qt::NoModifier);
        // A drop is delivered only to the target its drag entered.
        QDragEnterEvent enter(l.rowCentre(1), Qt::CopyAction | Qt::MoveAction, &data,
                              Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(l.viewport(), &enter);
        QApplication::sendEvent(l.viewport(), &drop);
        EXPECT_EQ(dropped.count(), mode ? 1 : 0) << mode;
        EXPECT_EQ(l.list.Count(), 3);
        EXPECT_EQ(l.list.Text(1), "a.jpg");
    }
}

TEST(ProgressBarEvents, PressRaisesMouseDown) {
    ProgressBar bar;
    bar.resize(100, 20);
    bar.show();
    QSignalSpy down(&bar, &ProgressBar::MouseDown);
    QTest::mousePress(&bar, Qt::LeftButton);
    QTest::mousePress(&bar, Qt::RightButton);
    EXPECT_EQ(down.count(), 2);
}

// A drag of rows names its list; drag-over and drop pass the name and the point in
// the list's pixels, for rows of any list and for foreign data alike.
TEST(ListViewEvents, DragOverAndDropNameTheSourceList) {
    JournalList l;
    l.list.setOLEDropMode(true);
    QStringList seen;
    QObject::connect(&l.list, &ListView::OLEDragOver, [&](const QString& source, int x, int y) {
        seen << QStringLiteral("over %1 %2").arg(source).arg(l.list.HitTest(x, y));
    });
    QObject::connect(&l.list, &ListView::OLEDragDrop, [&](const QString& source, int x, int y) {
        seen << QStringLiteral("drop %1 %2").arg(source).arg(l.list.HitTest(x, y));
    });
    QMimeData rows;
    rows.setData(ListView::RowsMimeType, "lvFolder");
    QMimeData files;
    files.setUrls({QUrl::fromLocalFile("/tmp/a.jpg")});
    for (QMimeData* data : {&rows, &files}) {
        QDragEnterEvent enter(l.rowCentre(1), Qt::CopyAction | Qt::MoveAction, data,
                              Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(l.viewport(), &enter);
        QDragMoveEvent move(l.rowCentre(2), Qt::CopyAction | Qt::MoveAction, data,
                            Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(l.viewport(), &move);
        QDropEvent drop(QPointF(l.rowCentre(3)), Qt::CopyAction | Qt::MoveAction, data,
                        Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(l.viewport(), &drop);
    }
    EXPECT_EQ(seen, QStringList({"over lvFolder 1", "over lvFolder 2", "drop lvFolder 3",
                                 "over  1", "over  2", "drop  3"}));
    EXPECT_EQ(ListView::dragSourceOf(&rows), "lvFolder");
    EXPECT_EQ(ListView::dragSourceOf(&files), QString());
    EXPECT_EQ(ListView::dragSourceOf(nullptr), QString());
}

// Without a drag of ours running, work after the drag waits for the event loop, and
// is dropped with its context.
TEST(ListViewEvents, WorkAfterADragRunsFromTheEventLoop) {
    int ran = 0;
    auto context = std::make_unique<QObject>();
    auto gone = std::make_unique<QObject>();
    ListView::runAfterDrag(context.get(), [&] { ++ran; });
    ListView::runAfterDrag(gone.get(), [&] { ran += 10; });
    gone.reset();
    EXPECT_EQ(ran, 0);
    QApplication::processEvents();
    EXPECT_EQ(ran, 1);
}

// "Rename title": the typed text becomes the row's; an emptied or blank text is
// refused and the row keeps its title.
TEST(ListViewEvents, LabelEditRenamesTheRowAndRefusesAnEmptyText) {
    struct Case {
        const char* typed;
        const char* expected;
        int renames;
    };
    const Case cases[] = {{"holiday", "holiday", 1}, {"", "b.jpg", 0}, {"   ", "b.jpg", 0}};
    for (const Case& c : cases) {
        ListView list;
        list.AddColumn(QStringLiteral("File Name"));
        for (const char* name : {"a.jpg", "b.jpg", "c.jpg"})
            list.AddItem(QString::fromLatin1(name));
        list.resize(300, 200);
        list.show();
        QSignalSpy renamed(&list, &ListView::AfterLabelEdit);
        list.setSelectedItem(2);
        list.StartLabelEdit();
        auto* editor = list.reportView()->findChild<QLineEdit*>();
        ASSERT_NE(editor, nullptr) << c.typed;
        EXPECT_EQ(editor->text(), QStringLiteral("b.jpg"));
        editor->setText(QString::fromLatin1(c.typed));
        QTest::keyClick(editor, Qt::Key_Return);
        QApplication::processEvents();
        EXPECT_EQ(list.Text(2), QString::fromLatin1(c.expected)) << c.typed;
        EXPECT_EQ(renamed.count(), c.renames) << c.typed;
    }
}
