#pragma once
// Replays the view's display lists with a QPainter.
#include <QColor>

#include "glyphview/displaylist.h"

class QPainter;

namespace tsy {

// 0x00BBGGRR as a QColor.
inline QColor ToQColor(TColor C) { return QColor(int(C & 0xFF), int((C >> 8) & 0xFF), int((C >> 16) & 0xFF)); }
inline TColor FromQColor(const QColor& C) {
  return TColor(C.red()) | (TColor(C.green()) << 8) | (TColor(C.blue()) << 16);
}

// Draws every operation in order; polygons fill with the nonzero winding
// rule, frames marked NOT-XOR invert what lies below them.
void ReplayDisplayList(QPainter& Painter, const TDisplayList& List);

}  // namespace tsy
