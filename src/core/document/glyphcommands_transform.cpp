// The per-glyph transformation family: move points, contours and members,
// stretch, rotate and skew, with their repeat items.
#include <cmath>

#include "document/glyphcommands_internal.h"
#include "fontfile/primitives.h"

namespace tsy {

namespace {

const char* TransformSuffix(int Kind) {
  static const char* const kNames[] = {"Move Points",    "Move Contours",   "Move Composite Glyph Members",
                                       "Stretch Contours", "Rotate Contours", "Skew Contours"};
  return Kind >= 0 && Kind < 6 ? kNames[Kind] : "";
}

void Skew(std::vector<TTrueTypePoint*>& Points, double Ox, double Oy, double Kx, double Ky) {
  auto horizontal = [&] {
    for (TTrueTypePoint* p : Points) p->X += (Oy - p->Y) * Kx;
  };
  auto vertical = [&] {
    for (TTrueTypePoint* p : Points) p->Y += (Ox - p->X) * Ky;
  };
  // Undo negates both factors and so takes the other order: each pass then
  // exactly takes back the one it follows.
  if (Kx > 0) {
    if (Kx != 0) horizontal();
    if (Ky != 0) vertical();
  } else {
    if (Ky != 0) vertical();
    if (Kx != 0) horizontal();
  }
}

}  // namespace

bool TTrueTypeFontManager::ApplyTransform(int G, TTransformKind Kind, const TTransformParams& P, bool Check) {
  TOutlineBase* outline = FFont.Outlines.Items(size_t(G));
  if (Kind == TTransformKind::MoveMembers) {
    auto* composite = dynamic_cast<TOutlineComposite*>(outline);
    TGlyphSelection sel;
    FEditWindows.GetMembers(nullptr, G, sel);
    if (!composite || sel.Count() == 0) return false;
    TCompositeGlyph members = composite->Members;
    for (int k = 0; k < sel.Count(); ++k) {
      const int32_t m = sel.Items(k);
      if (m < 0 || size_t(m) >= members.size()) continue;
      members[size_t(m)].OffsetX += P.A;
      members[size_t(m)].OffsetY += P.B;
      if (!AllFinite({members[size_t(m)].OffsetX, members[size_t(m)].OffsetY})) return false;
    }
    if (!Check) composite->Members = std::move(members);
    return true;
  }
  auto* simple = dynamic_cast<TOutlineSimple*>(outline);
  if (!simple) return false;
  // Work on a copy: nothing reaches the model unless every coordinate is finite.
  TOutlineContours contours = simple->Contours;
  std::vector<TTrueTypePoint*> points;
  std::vector<int32_t> affected;
  if (Kind == TTransformKind::MovePoints) {
    TPointSelection sel;
    FEditWindows.GetPoints(nullptr, G, sel);
    for (int k = 0; k < sel.Count(); ++k) {
      const TPointSelectionItem& it = sel.Items(k);
      if (it.Contour < 0 || size_t(it.Contour) >= contours.size()) continue;
      TContour& c = contours[size_t(it.Contour)];
      if (it.Point >= 0 && size_t(it.Point) < c.Points.size()) points.push_back(&c.Points[size_t(it.Point)]);
    }
  } else {
    TContourSelection sel;
    FEditWindows.GetContours(nullptr, G, sel);
    for (int k = 0; k < sel.Count(); ++k) {
      const int32_t c = sel.Items(k);
      if (c < 0 || size_t(c) >= contours.size()) continue;
      affected.push_back(c);
      for (TTrueTypePoint& p : contours[size_t(c)].Points) points.push_back(&p);
    }
  }
  if (points.empty()) return false;
  const TRealPoint o = FEditWindows.GetTransformOrigin(nullptr, G);
  switch (Kind) {
    case TTransformKind::MovePoints:
    case TTransformKind::MoveContours:
    case TTransformKind::MoveMembers:
      for (TTrueTypePoint* p : points) {
        p->X += P.A;
        p->Y += P.B;
      }
      break;
    case TTransformKind::Stretch:
      for (TTrueTypePoint* p : points) {
        p->X = o.X + (p->X - o.X) * P.A;
        p->Y = o.Y + (p->Y - o.Y) * P.B;
      }
      if (P.A * P.B < 0)
        for (int32_t c : affected) contours[size_t(c)].Reverse();
      break;
    case TTransformKind::Rotate: {
      const double cs = std::cos(P.A), sn = std::sin(P.A);
      for (TTrueTypePoint* p : points) {
        const double dx = p->X - o.X, dy = p->Y - o.Y;
        p->X = o.X + cs * dx - sn * dy;
        p->Y = o.Y + cs * dy + sn * dx;
      }
      break;
    }
    case TTransformKind::Skew: Skew(points, P.A, P.B, P.C, P.D); break;
  }
  for (const TContour& c : contours)
    for (const TTrueTypePoint& p : c.Points)
      if (!AllFinite({p.X, p.Y})) return false;
  if (!Check) simple->Contours = std::move(contours);
  return true;
}

void TTrueTypeFontManager::TransformCommand(int G, TTransformKind Kind, const TTransformParams& P) {
  CheckGlyph(G);
  if (!AllFinite({P.A, P.B, P.C, P.D}) || !ApplyTransform(G, Kind, P, true)) {
    Changed();
    return;
  }
  GlyphLevel(G, TransformSuffix(int(Kind)), true, [&] {
    if (TMemoryStream* r =
            FHistory.AddRepeatItem([this](TUndoRedoRepeatItem&, TStream& S) { RepeatTransform(S); })) {
      WriteUInt16(*r, uint16_t(Kind));
      WriteUInt16(*r, uint16_t(G));
      for (double v : {P.A, P.B, P.C, P.D}) WriteDouble(*r, v);
      if (Kind == TTransformKind::MovePoints) {
        TPointSelection sel;
        FEditWindows.GetPoints(nullptr, G, sel);
        sel.SaveToStream(*r);
      } else if (Kind == TTransformKind::MoveMembers) {
        TGlyphSelection sel;
        FEditWindows.GetMembers(nullptr, G, sel);
        sel.SaveToStream(*r);
      } else {
        TContourSelection sel;
        FEditWindows.GetContours(nullptr, G, sel);
        sel.SaveToStream(*r);
      }
    }
    TOutlineBase* outline = FFont.Outlines.Items(size_t(G));
    outline->UpdateBounds();
    const double oldXMin = outline->Bounds.XMin;
    ApplyTransform(G, Kind, P, false);
    outline->UpdateBounds();
    const bool move = Kind == TTransformKind::MovePoints || Kind == TTransformKind::MoveContours ||
                      Kind == TTransformKind::MoveMembers;
    if (move) FollowXMin(G, oldXMin);
    if (Kind != TTransformKind::MovePoints) UpdateSelectionFrame(G);
  });
}

// [kind][g][four parameters][the selection the command worked on]
void TTrueTypeFontManager::RepeatTransform(TStream& Data) {
  const int kind = ReadUInt16(Data);
  const int g = ReadUInt16(Data);
  TTransformParams p;
  p.A = ReadDouble(Data);
  p.B = ReadDouble(Data);
  p.C = ReadDouble(Data);
  p.D = ReadDouble(Data);
  if (kind > int(TTransformKind::Skew)) throw EStreamError(Format("Unknown transformation %d", kind));
  if (size_t(g) >= FFont.GlyphCount()) throw EStreamError(Format("Glyph index %d out of range", g));
  const auto k = TTransformKind(kind);
  if (k == TTransformKind::MovePoints) {
    TPointSelection sel;
    sel.LoadFromStream(Data);
    FEditWindows.SetPoints(nullptr, g, sel);
  } else if (k == TTransformKind::MoveMembers) {
    TGlyphSelection sel;
    sel.LoadFromStream(Data);
    FEditWindows.SetMembers(nullptr, g, sel);
  } else {
    TContourSelection sel;
    sel.LoadFromStream(Data);
    FEditWindows.SetContours(nullptr, g, sel);
  }
  if (!ApplyTransform(g, k, p, true)) return;
  // One level per repeat: the instructions, if any came back, go with the
  // glyph's state into it.
  RecordGlyphState(g);
  TOutlineBase* outline = FFont.Outlines.Items(size_t(g));
  outline->ClearInstructions();
  outline->UpdateBounds();
  const double oldXMin = outline->Bounds.XMin;
  ApplyTransform(g, k, p, false);
  outline->UpdateBounds();
  if (k == TTransformKind::MovePoints || k == TTransformKind::MoveContours || k == TTransformKind::MoveMembers)
    FollowXMin(g, oldXMin);
  if (k != TTransformKind::MovePoints) UpdateSelectionFrame(g);
  FEditWindows.GlyphChanged(g);
  Changed();
}

void TTrueTypeFontManager::MovePoints(int G, double Dx, double Dy) {
  TransformCommand(G, TTransformKind::MovePoints, {Dx, Dy, 0, 0});
}

void TTrueTypeFontManager::MoveContours(int G, double Dx, double Dy) {
  TransformCommand(G, TTransformKind::MoveContours, {Dx, Dy, 0, 0});
}

void TTrueTypeFontManager::MoveMembers(int G, double Dx, double Dy) {
  TransformCommand(G, TTransformKind::MoveMembers, {Dx, Dy, 0, 0});
}

void TTrueTypeFontManager::StretchContours(int G, double Sx, double Sy) {
  TransformCommand(G, TTransformKind::Stretch, {Sx, Sy, 0, 0});
}

void TTrueTypeFontManager::RotateContours(int G, double Angle) {
  TransformCommand(G, TTransformKind::Rotate, {Angle, 0, 0, 0});
}

void TTrueTypeFontManager::SkewContours(int G, double Ox, double Oy, double Kx, double Ky) {
  TransformCommand(G, TTransformKind::Skew, {Ox, Oy, Kx, Ky});
}

void TTrueTypeFontManager::MoveSelectionAnchorTo(int G, int Anchor, double X, double Y) {
  CheckGlyph(G);
  if (Anchor < 0 || Anchor > 8) throw FontException(Format("Anchor %d out of range (0..8)", Anchor));
  const TFloatRect f = FEditWindows.GetSelectionFrame(nullptr, G);
  const int column = Anchor % 3, row = Anchor / 3;
  const double ax = column == 0 ? f.XMin : column == 1 ? (f.XMin + f.XMax) / 2 : f.XMax;
  const double ay = row == 0 ? f.YMax : row == 1 ? (f.YMin + f.YMax) / 2 : f.YMin;
  MoveContours(G, X - ax, Y - ay);
}

}  // namespace tsy
