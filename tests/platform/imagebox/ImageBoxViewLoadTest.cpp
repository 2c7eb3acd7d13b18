#include "core/AppError.h"
#include "platform/imagebox/ImageBox.h"

#include <gtest/gtest.h>

#include <QBuffer>
#include <QCoreApplication>
#include <QFile>
#include <QPainter>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

#include <atomic>
#include <chrono>
#include <functional>
#include <memory>
#include <thread>
#include <vector>

using namespace picbasket;

namespace {

// A photo-like picture: gradients and edges, so that every DCT block differs.
QImage photoLike(int width, int height) {
    QImage image(width, height, QImage::Format_RGB32);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            image.setPixel(x, y, qRgb((x * 7 + y) & 255, (y * 5) & 255, (x ^ y) & 255));
    QPainter(&image).fillRect(width / 3, height / 3, width / 4, height / 5, QColor(20, 200, 90));
    return image;
}

QByteArray jpegOf(const QImage& image, int quality) {
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "JPEG", quality);
    return bytes;
}

// The JFIF header's density: unit (0 none, 1 per inch, 2 per centimetre) and both figures.
QByteArray withDensity(QByteArray jpeg, char unit, int x, int y) {
    EXPECT_EQ(jpeg.mid(6, 5), QByteArray("JFIF\0", 5));
    jpeg[13] = unit;
    jpeg[14] = char(x >> 8);
    jpeg[15] = char(x & 255);
    jpeg[16] = char(y >> 8);
    jpeg[17] = char(y & 255);
    return jpeg;
}

void writeFile(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(bytes);
}

// Runs the events posted so far (and those they post in turn).
void runPostedEvents() {
    for (int i = 0; i < 3; ++i)
        QCoreApplication::processEvents();
}

// The box's one load thread is free again: a load of another box, queued behind
// whatever it was given before, has come back through the event loop.
void waitForTheLoadThread(const QString& photo) {
    ImageBox fence;
    fence.LoadFromFileForView(photo, 40, 30);
    ASSERT_TRUE(QTest::qWaitFor([&] { return !fence.LoadPending(); }, 20000));
    runPostedEvents();
}

// Threads that keep cores busy for as long as the object lives.
class BusyCores {
public:
    explicit BusyCores(int count) {
        for (int i = 0; i < count; ++i)
            threads_.emplace_back([this] {
                while (!stop_.load(std::memory_order_relaxed)) {
                }
            });
    }
    ~BusyCores() {
        stop_ = true;
        for (std::thread& thread : threads_)
            thread.join();
    }

private:
    std::atomic<bool> stop_{false};
    std::vector<std::thread> threads_;
};

// What a box tells its listeners: the settled loads and the changes of what it shows.
struct Notices {
    explicit Notices(ImageBox& box)
        : settled(&box, &ImageBox::loadSettled), shown(&box, &ImageBox::displayChanged) {}
    QSignalSpy settled;
    QSignalSpy shown;
};

} // namespace

// Rounds of load, wait and delete while other threads keep the cores busy, so the
// load thread is often held up between its decode and its last look at the load:
// a box that took the result and is deleted at once is never touched again.
TEST(ImageBoxViewLoad, ABoxGoneRightAfterItSettledIsLeftAlone) {
    QTemporaryDir dir;
    const QString path = dir.filePath("photo.jpg");
    writeFile(path, jpegOf(photoLike(320, 240), 85));
    const BusyCores busy(3);
    for (int round = 0; round < 3000; ++round) {
        auto box = std::make_unique<ImageBox>();
        box->LoadFromFileForView(path, 40, 30);
        ASSERT_TRUE(box->LoadPending());
        // From taking the decode itself to finding it long done on the thread.
        std::this_thread::sleep_for(std::chrono::microseconds(round % 25 * 60));
        box->WaitForLoad();
        ASSERT_EQ(box->image().size(), QSize(320, 240));
        box.reset();
        if (round % 100 == 0)
            QCoreApplication::processEvents();
    }
    waitForTheLoadThread(path);
}

// Members that take the full decode are getters and paint: none of them tells the
// listeners while it runs. The notice comes from the event loop, once per load, with
// the load's file and its image as loaded (even when an edit came first); only
// WaitForLoad, the window commands' wait, tells at once, unless told before.
TEST(ImageBoxViewLoad, ASettledLoadIsToldOnceAndNeverInsideAGetter) {
    QTemporaryDir dir;
    const QString path = dir.filePath("photo.jpg");
    writeFile(path, jpegOf(photoLike(800, 600), 90));
    ImageBox plain;
    plain.LoadFromFile(path);
    const QImage loaded = plain.image();
    const struct {
        const char* name;
        std::function<void(ImageBox&)> take;
        bool toldAtOnce;
        bool edits; // an edit tells of its own change at once
    } cases[] = {
        {"image()", [](ImageBox& box) { (void)box.image(); }, false, false},
        {"Picture()", [](ImageBox& box) { (void)box.Picture(); }, false, false},
        {"displayImage at full size",
         [](ImageBox& box) { (void)box.displayImage(QSize(800, 600)); }, false, false},
        {"SaveToMemory",
         [](ImageBox& box) { (void)box.SaveToMemory(ImageBox::FormatBmp); }, false, false},
        {"an edit", [](ImageBox& box) { box.Flip(0); }, false, true},
        {"WaitForLoad", [](ImageBox& box) { box.WaitForLoad(); }, true, false},
        {"a getter, then WaitForLoad",
         [](ImageBox& box) {
             (void)box.image();
             box.WaitForLoad();
         },
         true, false},
        {"an edit, then WaitForLoad",
         [](ImageBox& box) {
             box.Flip(0);
             box.WaitForLoad();
         },
         true, true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        ImageBox box;
        Notices notices(box);
        QImage told;
        QObject::connect(&box, &ImageBox::loadSettled, &box, [&] { told = box.SettledImage(); });
        box.LoadFromFileForView(path, 100, 75);
        ASSERT_TRUE(box.LoadPending());
        notices.shown.clear();
        c.take(box);
        EXPECT_FALSE(box.LoadPending());
        EXPECT_EQ(notices.settled.count(), c.toldAtOnce ? 1 : 0);
        if (!c.edits) {
            EXPECT_EQ(notices.shown.count(), c.toldAtOnce ? 1 : 0);
        }
        runPostedEvents();
        EXPECT_EQ(notices.settled.count(), 1);
        EXPECT_GE(notices.shown.count(), 1);
        EXPECT_EQ(box.SettledFile(), path);
        EXPECT_EQ(told, loaded) << "the notice gave another image than the load's";
        // More readers and waits, and the load thread's own notice of its decode,
        // add nothing.
        (void)box.image();
        box.WaitForLoad();
        waitForTheLoadThread(path);
        EXPECT_EQ(notices.settled.count(), 1);
    }
    // Left to the load thread, the load is told once too.
    ImageBox box;
    Notices notices(box);
    box.LoadFromFileForView(path, 100, 75);
    ASSERT_TRUE(QTest::qWaitFor([&] { return notices.settled.count() > 0; }, 20000));
    EXPECT_FALSE(box.LoadPending());
    waitForTheLoadThread(path);
    EXPECT_EQ(notices.settled.count(), 1);
    EXPECT_EQ(box.SettledFile(), path);
}

// A load that another image, another load or Clear replaced is never told, whether
// a getter had settled it before (its notice still waiting in the event loop) or not.
TEST(ImageBoxViewLoad, AReplacedLoadIsNeverTold) {
    QTemporaryDir dir;
    const QString first = dir.filePath("first.jpg");
    const QString second = dir.filePath("second.jpg");
    writeFile(first, jpegOf(photoLike(800, 600), 90));
    writeFile(second, jpegOf(photoLike(640, 480), 90));
    const struct {
        const char* name;
        bool settleFirst;
        std::function<void(ImageBox&)> replace;
        const QString* told; // the load whose notice comes, or none
    } cases[] = {
        {"settled, then cleared", true, [](ImageBox& box) { box.Clear(); }, nullptr},
        {"settled, then another image", true,
         [](ImageBox& box) { box.setImage(photoLike(10, 10)); }, nullptr},
        {"settled, then a plain load", true, [&](ImageBox& box) { box.LoadFromFile(second); },
         nullptr},
        {"settled, then another load taken", true,
         [&](ImageBox& box) {
             box.LoadFromFileForView(second, 100, 75);
             box.WaitForLoad();
         },
         &second},
        {"pending, then cleared", false, [](ImageBox& box) { box.Clear(); }, nullptr},
        {"pending, then another load taken", false,
         [&](ImageBox& box) {
             box.LoadFromFileForView(second, 100, 75);
             box.WaitForLoad();
         },
         &second},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        ImageBox box;
        Notices notices(box);
        box.LoadFromFileForView(first, 100, 75);
        ASSERT_TRUE(box.LoadPending());
        if (c.settleFirst)
            (void)box.image();
        c.replace(box);
        waitForTheLoadThread(first);
        EXPECT_EQ(notices.settled.count(), c.told ? 1 : 0);
        EXPECT_EQ(box.SettledFile(), c.told ? *c.told : QString());
    }
}

// The full image a fitted view settles on is the one a plain load gives: the same
// pixels, format and resolution, whatever the JFIF header says of the density.
TEST(ImageBoxViewLoad, TheSettledImageEqualsThePlainLoad) {
    QTemporaryDir dir;
    const QByteArray base = jpegOf(photoLike(800, 600), 90);
    const struct {
        const char* name;
        char unit;
        int x, y;
    } cases[] = {{"none", 0, 1, 1}, {"per inch", 1, 300, 240}, {"per centimetre", 2, 118, 59}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const QString path = dir.filePath(QString::fromLatin1(c.name) + ".jpg");
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(withDensity(base, c.unit, c.x, c.y));
        file.close();
        ImageBox plain;
        plain.LoadFromFile(path);
        ImageBox viewed;
        viewed.LoadFromFileForView(path, 100, 75);
        EXPECT_TRUE(viewed.LoadPending());
        const QImage full = viewed.image();
        EXPECT_FALSE(viewed.LoadPending());
        ASSERT_EQ(full.format(), plain.image().format());
        EXPECT_EQ(full, plain.image());
        EXPECT_EQ(full.dotsPerMeterX(), plain.image().dotsPerMeterX());
        EXPECT_EQ(full.dotsPerMeterY(), plain.image().dotsPerMeterY());
    }
}

// Entropy data damaged in the middle of a file that still ends in EOI: the view's
// full decode refuses it as the plain load does, and the box then holds no image.
TEST(ImageBoxViewLoadCorrupt, DamagedEntropyDataIsRefused) {
    QTemporaryDir dir;
    QByteArray bytes = jpegOf(photoLike(800, 600), 90);
    for (qsizetype i = bytes.size() / 2; i < bytes.size() / 2 + 400; ++i)
        bytes[i] = char(0x5A);
    const QString path = dir.filePath("damaged.jpg");
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(bytes);
    file.close();
    ImageBox plain;
    EXPECT_THROW(plain.LoadFromFile(path), AppError);
    ImageBox viewed;
    try {
        viewed.LoadFromFileForView(path, 100, 75);
        viewed.WaitForLoad();
    } catch (const AppError&) {
    }
    EXPECT_FALSE(viewed.HasImage());
}
