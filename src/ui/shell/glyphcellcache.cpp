#include "shell/glyphcellcache.h"

#include <cstring>

#include "document/glyphoverview.h"
#include "fontfile/tables/head.h"
#include "fontfile/tables/hmtx.h"
#include "fontfile/truetypefont.h"
#include "outline/outline.h"

namespace tsy {

namespace {

// FNV-1a over the raw bytes of each value.
struct THash {
  uint64_t Value = 1469598103934665603ULL;
  void Bytes(const void* Data, size_t Size) {
    const auto* p = static_cast<const unsigned char*>(Data);
    for (size_t i = 0; i < Size; ++i) {
      Value ^= p[i];
      Value *= 1099511628211ULL;
    }
  }
  template <class T>
  void Add(const T& V) {
    Bytes(&V, sizeof V);
  }
  void Contours(const TOutlineContours& Contours) {
    Add(Contours.size());
    for (const TContour& c : Contours) {
      Add(c.Points.size());
      for (const TTrueTypePoint& p : c.Points) {
        Add(p.X);
        Add(p.Y);
        Add(p.OnCurve);
      }
    }
  }
};

}  // namespace

uint64_t TGlyphCellCache::Fingerprint(const TTrueTypeFont& Font, int Glyph, QSize Area, bool Selected,
                                      const TGlyphCellOptions& Options, int64_t SampleChar, QRgb Window) {
  THash h;
  h.Add(Area.width());
  h.Add(Area.height());
  h.Add(Selected);
  h.Add(Window);
  h.Add(Options.Smooth);
  h.Add(Options.ShowSample);
  h.Bytes(Options.SampleFont.constData(), size_t(Options.SampleFont.size()) * sizeof(QChar));
  h.Add(SampleChar);
  const TTableHead* head = Font.Head();
  h.Add(head ? int(head->unitsPerEm) : -1);
  if (Glyph < 0 || size_t(Glyph) >= Font.GlyphCount()) return h.Value;
  const TOutlineBase& outline = *Font.Outlines.Items(size_t(Glyph));
  h.Add(outline.GetKind());
  h.Add(outline.Bounds.XMin);
  int16_t lsb = 0;
  if (const TTableHmtx* hmtx = Font.Hmtx()) try {
      lsb = hmtx->LeftSideBearing(MetricsGlyph(Font, Glyph));
    } catch (const std::exception&) {
    }
  h.Add(lsb);
  if (const auto* simple = dynamic_cast<const TOutlineSimple*>(&outline)) {
    h.Contours(simple->Contours);
  } else if (outline.GetKind() == okComposite) {
    // The members' own points, placed: an edit of a member changes this.
    TOutlineContours flat;
    outline.AddTransformedContours(flat, TOutlineTransform{});
    h.Contours(flat);
  }
  return h.Value;
}

const QImage* TGlyphCellCache::Find(int Glyph, uint64_t Fingerprint) const {
  auto found = FItems.constFind(Glyph);
  if (found == FItems.constEnd() || found->Fingerprint != Fingerprint) return nullptr;
  return &found->Image;
}

void TGlyphCellCache::Store(int Glyph, uint64_t Fingerprint, QImage Image) {
  if (FItems.size() >= kMaxItems && !FItems.contains(Glyph)) FItems.clear();
  FItems.insert(Glyph, TItem{Fingerprint, std::move(Image)});
}

}  // namespace tsy
