#include "glyphview/texts.h"

#include "document/editwindowlist.h"
#include "fontfile/fontexception.h"

namespace tsy {

std::string GlyphEditCaption(const std::string& FileName, int Kind, int Glyph, bool Hexadecimal,
                             const std::string& GlyphCaption) {
  const size_t slash = FileName.find_last_of('/');
  const std::string name = slash == std::string::npos ? FileName : FileName.substr(slash + 1);
  const char* kind = Kind == okSimple ? "Simple" : Kind == okComposite ? "Composite" : "Empty";
  const std::string index = Hexadecimal ? Format("$%.4x", Glyph) : Format("%d", Glyph);
  std::string caption =
      Format("%s - %s Glyph Index: %s - Caption: %s", name.c_str(), kind, index.c_str(), GlyphCaption.c_str());
  if (caption.size() > 96) caption = caption.substr(0, 93) + "...";
  return caption;
}

namespace {

std::string CountText(const TOutlineSimple& S) {
  const int contours = S.GetContourCount();
  const long long points = S.GetPointCount();
  return contours == 1 ? Format("%d contour, %lld points", contours, points)
                       : Format("%d contours, %lld points", contours, points);
}

}  // namespace

std::string SelectionStatusText(const TOutlineBase& Outline, uint8_t EditMode, const TGlyphSelection& Members,
                                const TContourSelection& Contours, const TPointSelection& Points) {
  if (Outline.GetKind() == okComposite) {
    if (Members.Count() == 1) return Format("Glyph [%d] selected", Members.Items(0));
    if (Members.Count() == 0) return Format("%d glyphs", Outline.GetComponentCount());
    return Format("%d glyphs selected", Members.Count());
  }
  if (Outline.GetKind() != okSimple) return "";
  const auto& simple = static_cast<const TOutlineSimple&>(Outline);
  if (EditMode == emPoint) {
    if (Points.Count() == 0) return CountText(simple);
    if (Points.Count() > 1) return Format("%d points selected", Points.Count());
    const TPointSelectionItem& item = Points.Items(0);
    const bool valid = item.Contour >= 0 && size_t(item.Contour) < simple.Contours.size() && item.Point >= 0 &&
                       size_t(item.Point) < simple.Contours[size_t(item.Contour)].Count();
    // A selection left over from a longer outline names no point: say which.
    if (!valid) return Format("Point [contour index: %d point index: %d] selected", item.Contour, item.Point);
    const TTrueTypePoint& p = simple.Contours[size_t(item.Contour)].Points[size_t(item.Point)];
    return Format(item.Point == 0 ? "First point [contour index: %d point index: %d] selected (%d, %d)"
                                  : "Point [contour index: %d point index: %d] selected (%d, %d)",
                  item.Contour, item.Point, RoundHalfUp(p.X), RoundHalfUp(p.Y));
  }
  if (Contours.Count() == 0) return CountText(simple);
  if (Contours.Count() > 1) return Format("%d contours selected", Contours.Count());
  const int c = Contours.Items(0);
  if (c < 0 || size_t(c) >= simple.Contours.size()) return Format("Contour [%d] selected", c);
  const TContour& contour = simple.Contours[size_t(c)];
  const double d = contour.GetDirection();
  const int n = int(contour.Count());
  if (d >= 180 && d <= 540) return Format("Contour [%d] selected, %d points, direction: clockwise", c, n);
  if (d >= -540 && d <= -180) return Format("Contour [%d] selected, %d points direction: counter clockwise", c, n);
  return Format("Contour [%d] selected, %d points direction: unknown", c, n);
}

}  // namespace tsy
