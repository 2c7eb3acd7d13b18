#pragma once
#include <QByteArray>
#include <QImage>
#include <QString>
#include <QStringList>
#include <gtest/gtest.h>

// Images, files and outside tools shared by the JPEG 2000 tests.
namespace picbasket::test::jp2 {

// A deterministic image with smooth gradients, edges and noise in every channel
// (alpha included), so that coding errors show in any bit and rate control has work.
QImage patternImage(int width, int height, QImage::Format format, quint32 seed = 1);

// Pixels compared exactly after converting both to one format; a message tells the
// first difference.
::testing::AssertionResult samePixels(const QImage& expected, const QImage& actual,
                                      int tolerance = 0);

// Writes a binary PGM (grey) or PPM (RGB); 16-bit formats give 16-bit samples.
void writePnm(const QImage& image, const QString& path);
// Reads a binary PGM or PPM of 8 or 16 bits as Grayscale8/16 or RGB888/RGBX64.
QImage readPnm(const QString& path);

// Runs an outside tool; false with a message in output when it fails.
bool runTool(const QString& program, const QStringList& args, QString* output = nullptr);
bool haveTool(const QString& program);

QByteArray readFile(const QString& path);
void writeFile(const QString& path, const QByteArray& bytes);

} // namespace picbasket::test::jp2
