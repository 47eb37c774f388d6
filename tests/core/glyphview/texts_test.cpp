// Caption and selection status texts of the glyph edit window.
#include "glyphview/texts.h"

#include <gtest/gtest.h>

#include "document/editwindowlist.h"

using namespace tsy;

namespace {
TContour Square(double X0, double Y0, double S, bool Clockwise) {
  TContour c;
  c.Points = {{X0, Y0}, {X0, Y0 + S}, {X0 + S, Y0 + S}, {X0 + S, Y0}};
  if (!Clockwise) c.Reverse();
  return c;
}
}  // namespace

TEST(GlyphEditTexts, CaptionFormatsAndCutsLongCaptions) {
  EXPECT_EQ(GlyphEditCaption("/home/u/fonts/Test.ttf", okSimple, 65, true, "A"),
            "Test.ttf - Simple Glyph Index: $0041 - Caption: A");
  EXPECT_EQ(GlyphEditCaption("Test.ttf", okComposite, 65, false, ""), "Test.ttf - Composite Glyph Index: 65 - Caption: ");
  EXPECT_EQ(GlyphEditCaption("", okEmpty, 3, false, "x"), " - Empty Glyph Index: 3 - Caption: x");
  const std::string fixed = GlyphEditCaption("F", okEmpty, 0, false, "");
  const std::string fits(96 - fixed.size(), 'c'), over(97 - fixed.size(), 'c');
  EXPECT_EQ(GlyphEditCaption("F", okEmpty, 0, false, fits).size(), 96u);
  EXPECT_EQ(GlyphEditCaption("F", okEmpty, 0, false, fits), fixed + fits);
  const std::string cut = GlyphEditCaption("F", okEmpty, 0, false, over);
  EXPECT_EQ(cut, (fixed + over).substr(0, 93) + "...");
}

TEST(GlyphEditTexts, SelectionStatusForEveryKindAndMode) {
  TOutlineSimple s;
  s.Contours = {Square(0, 0, 100, true), Square(20, 20, 10, false), TContour{{{5, 5}, {6, 6}}}};
  TGlyphSelection members;
  TContourSelection contours;
  TPointSelection points;
  EXPECT_EQ(SelectionStatusText(s, emContour, members, contours, points), "3 contours, 10 points");
  contours.Add(0);
  EXPECT_EQ(SelectionStatusText(s, emContour, members, contours, points),
            "Contour [0] selected, 4 points, direction: clockwise");
  contours.Clear();
  contours.Add(1);
  EXPECT_EQ(SelectionStatusText(s, emContour, members, contours, points),
            "Contour [1] selected, 4 points direction: counter clockwise");
  contours.Clear();
  contours.Add(2);  // two points have no direction
  EXPECT_EQ(SelectionStatusText(s, emContour, members, contours, points),
            "Contour [2] selected, 2 points direction: unknown");
  contours.Add(0);
  EXPECT_EQ(SelectionStatusText(s, emContour, members, contours, points), "2 contours selected");

  s.Contours[0].Points[1].X = 0.5;  // rounds half up
  points.Add(0, 1);
  EXPECT_EQ(SelectionStatusText(s, emPoint, members, contours, points),
            "Point [contour index: 0 point index: 1] selected (1, 100)");
  points.Clear();
  points.Add(1, 0);  // the reversed square starts at (30, 20)
  EXPECT_EQ(SelectionStatusText(s, emPoint, members, contours, points),
            "First point [contour index: 1 point index: 0] selected (30, 20)");
  points.Add(1, 2);
  EXPECT_EQ(SelectionStatusText(s, emPoint, members, contours, points), "2 points selected");
  points.Clear();
  points.Add(7, 0);  // left over from a longer outline: no crash, no coordinates
  EXPECT_EQ(SelectionStatusText(s, emPoint, members, contours, points),
            "Point [contour index: 7 point index: 0] selected");

  TOutlineSimple one;
  one.Contours = {Square(0, 0, 10, true)};
  EXPECT_EQ(SelectionStatusText(one, emPoint, members, {}, {}), "1 contour, 4 points");

  TOutlineComposite c;
  c.Members.resize(3);
  EXPECT_EQ(SelectionStatusText(c, emContour, members, contours, points), "3 glyphs");
  members.Add(2);
  EXPECT_EQ(SelectionStatusText(c, emContour, members, contours, points), "Glyph [2] selected");
  members.Add(0);
  EXPECT_EQ(SelectionStatusText(c, emContour, members, contours, points), "2 glyphs selected");
  EXPECT_EQ(SelectionStatusText(TOutlineEmpty(), emPoint, members, contours, points), "");
}
