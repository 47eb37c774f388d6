#pragma once
// Tiny hand-built glyphs for the problem tests and repairs.
#include <initializer_list>
#include <memory>
#include <vector>

#include "outline/fontoutlines.h"

namespace tsy::testglyphs {

// A point written as {x, y} (on-curve) or {x, y, false} (off-curve).
struct P {
  double X, Y;
  bool On = true;
};

inline TContour Contour(std::initializer_list<P> Points) {
  TContour c;
  for (const P& p : Points) c.AddPoint({p.X, p.Y, p.On});
  return c;
}

inline std::unique_ptr<TOutlineSimple> Simple(std::initializer_list<TContour> Contours) {
  auto s = std::make_unique<TOutlineSimple>();
  for (const TContour& c : Contours) s->Contours.push_back(c);
  s->UpdateBounds();
  return s;
}

// Outer contours run clockwise (y up), holes counter-clockwise.
inline TContour SquareCW(double X, double Y, double Size) {
  return Contour({{X, Y}, {X, Y + Size}, {X + Size, Y + Size}, {X + Size, Y}});
}
inline TContour SquareCCW(double X, double Y, double Size) {
  return Contour({{X, Y}, {X + Size, Y}, {X + Size, Y + Size}, {X, Y + Size}});
}

inline TCompositeMember Member(uint16_t Glyph, double OffsetX = 0, double OffsetY = 0) {
  TCompositeMember m;
  m.GlyphIndex = Glyph;
  m.OffsetX = OffsetX;
  m.OffsetY = OffsetY;
  return m;
}

inline std::unique_ptr<TOutlineComposite> Composite(std::initializer_list<TCompositeMember> Members) {
  auto c = std::make_unique<TOutlineComposite>();
  for (const TCompositeMember& m : Members) c->Members.push_back(m);
  return c;
}

// An outline list from outlines in glyph order, members linked and bounds set.
inline void Fill(TFontOutlines& List, std::vector<std::unique_ptr<TOutlineBase>> Outlines) {
  for (auto& o : Outlines) List.SetOutline(int(List.Count()), std::move(o));
  for (size_t i = 0; i < List.Count(); ++i) List.Items(i)->UpdateBounds();
}

template <class... T>
std::vector<std::unique_ptr<TOutlineBase>> Glyphs(std::unique_ptr<T>... Outlines) {
  std::vector<std::unique_ptr<TOutlineBase>> v;
  (v.push_back(std::move(Outlines)), ...);
  return v;
}

inline std::vector<TTrueTypePoint> Points(std::initializer_list<P> Points) {
  std::vector<TTrueTypePoint> v;
  for (const P& p : Points) v.push_back({p.X, p.Y, p.On});
  return v;
}

}  // namespace tsy::testglyphs
