#pragma once
#include <QImage>

namespace picbasket {

// The picture of the header buttons of the bar's own looks: 17 x 17 cells at
// x = 0, 17, 34, 51 (special collapsed, special expanded, normal collapsed,
// normal expanded) in two rows, y = 0 silver and y = 18 olive.
//
//   x:  0      17     34     51
//   y=0  [sv]   [s^]   [nv]   [n^]    silver
//   y=18 [sv]   [s^]   [nv]   [n^]    olive
QImage ExplorerButtonStrip();

} // namespace picbasket
