#pragma once
#include <QString>

// TIFF files of many pages, for the page split's tests and its benchmark.
namespace picbasket::test {

// Writes a TIFF of `count` pages of one 8-bit grey pixel each, page p holding
// the grey p (mod 256), so that each page shows which it is. False when the
// file could not be written whole.
bool writeOnePixelPages(const QString& path, int count);

} // namespace picbasket::test
