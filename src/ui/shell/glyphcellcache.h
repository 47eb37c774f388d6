#pragma once
// Pictures of glyph cells kept between paints. Each picture is stored with a
// fingerprint of everything it was drawn from (the outline's points, the
// metrics that place it, the em size, the cell size, selection and
// options), so a cell is drawn again exactly when its glyph or its look
// changed, whatever command changed it, and every other cell is copied.
#include <QHash>
#include <QImage>
#include <cstdint>

#include "shell/glyphcellpainter.h"

namespace tsy {

class TTrueTypeFont;

class TGlyphCellCache {
public:
  static uint64_t Fingerprint(const TTrueTypeFont& Font, int Glyph, QSize Area, bool Selected,
                              const TGlyphCellOptions& Options, int64_t SampleChar, QRgb Window);

  // The picture of Glyph when it was drawn with this fingerprint, else null.
  const QImage* Find(int Glyph, uint64_t Fingerprint) const;
  void Store(int Glyph, uint64_t Fingerprint, QImage Image);
  void Clear() { FItems.clear(); }
  int Count() const { return int(FItems.size()); }

  // More pictures than this (many screenfuls) are dropped all at once.
  static constexpr int kMaxItems = 4000;

private:
  struct TItem {
    uint64_t Fingerprint = 0;
    QImage Image;
  };
  QHash<int, TItem> FItems;
};

}  // namespace tsy
