// Geometry checked against itself over every contour of a real font.
#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>

#include "fontfile/truetypefont.h"
#include "outline/hittest.h"
#include "outline/polypolygon.h"
#include "outline/region.h"

using namespace tsy;

TEST(GeometryOnARealFont, RegionsMatchPolygonAreasAndReversalFlipsDirection) {
  const std::string file = "/usr/share/fonts/truetype/dejavu/DejaVuSerif.ttf";
  if (!std::filesystem::exists(file)) GTEST_SKIP() << "fonts-dejavu-core is not installed";
  TTrueTypeFont font;
  font.LoadFromFile(file);

  TDeviceMapping m;
  m.Zoom = 0.125;  // a 2048-unit em at 256 pixels
  m.OriginX = 100;
  m.OriginY = 400;
  size_t contours = 0, clean = 0;
  for (int g = 0; g < font.GlyphCount(); ++g) {
    const auto* simple = dynamic_cast<const TOutlineSimple*>(font.Outlines.Items(g));
    if (!simple) continue;
    for (const TContour& c : simple->Contours) {
      TPolyPolyGon p;
      p.Mapping = m;
      p.AddContour(c);
      const std::vector<TIntPoint> poly = p.FirstPolygon();
      if (poly.size() < 3) continue;
      double area2 = 0, perimeter = 0;
      for (size_t i = 0; i < poly.size(); ++i) {
        const TIntPoint a = poly[i], b = poly[(i + 1) % poly.size()];
        area2 += double(a.X) * b.Y - double(b.X) * a.Y;
        perimeter += std::hypot(double(b.X - a.X), double(b.Y - a.Y));
      }
      const TRegion r = TRegion::FromPolygon(poly, TFillRule::Winding);
      // Self-overlapping rings make the winding region smaller than |area|;
      // for ordinary contours the pixel count follows the area.
      EXPECT_LE(double(r.PixelCount()), std::fabs(area2) / 2 + perimeter + 1) << "glyph " << g;
      const double d = c.GetDirection();
      if (std::fabs(std::fabs(d) - 360) < 1) {
        ++clean;
        EXPECT_GE(double(r.PixelCount()), std::fabs(area2) / 2 - perimeter - 1) << "glyph " << g;
        TContour reversed = c;
        reversed.Reverse();
        EXPECT_NEAR(reversed.GetDirection(), -d, 1e-6) << "glyph " << g;
      }
      ++contours;
    }
  }
  EXPECT_GT(contours, 3000u);
  EXPECT_GT(clean, contours * 9 / 10);  // almost every contour has a clear direction
}
