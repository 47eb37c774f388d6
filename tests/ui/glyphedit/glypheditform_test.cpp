// The glyph edit window as a view: pixels of its paint box at a fixed size
// and zoom, its life with the edit-window list, the background image, the
// guideline drags and the screenshots of real glyphs.
#include "glyphedit/glypheditform.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QImage>
#include <QLabel>
#include <QPointer>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QTest>
#include <filesystem>

#include "document/fontmanager.h"
#include "fontfile/tables/head.h"
#include "fontfile/tables/hmtx.h"
#include "fontfile/tables/os2.h"
#include "fontfile/truetypefont.h"
#include "glyphview/layers.h"
#include "settings/registrysettings.h"
#include "support/fontbuilder.h"
#include "support/screenshot.h"

using namespace tsy;

namespace {

// The settings every pixel probe below relies on.
void DefaultViewSettings() {
  TRegistrySettings& s = TRegistrySettings::Instance();
  s.SetShowGrid(true);
  s.SetGridDistance(100);
  s.SetGridDistancePixels(16);
  s.SetGridColor(0x00FFA6A6);
  s.SetGridLineStyle(0);
  s.SetShowFixedGridLines(true);
  s.SetFixedGridLineStyle(0);
  s.SetShowBearings(true);
  s.SetShowUserDefinedGuidelines(true);
  s.SetLockUserDefinedGuidelines(false);
  s.SetFilledOutline(true);
  s.SetShowWarningPoints(true);
  s.SetAutoFitGlyphInWindow(true);
  s.SetValueHexadecimal(true);
  TGuideLineSettings::AccessInstance(1)->ClearAll();
}

// A font whose glyph 0 is a 400-unit square with a square hole (lsb 50,
// advance 500), opened in a window whose paint box is 400 x 400 at zoom 0.5
// centred on (250, 200).
struct TWindowFixture {
  TTrueTypeFontManager Manager;
  QPointer<TGlyphEditForm> Form;

  explicit TWindowFixture(bool Centre = true) {
    DefaultViewSettings();
    const tsytest::Bytes bytes = tsytest::BuildSfnt(tsytest::MinimalFontTables());
    TReadOnlyStream s(bytes.data(), bytes.size());
    Manager.Font().LoadFromStream(s);
    Manager.SetFileName("/tmp/Square.ttf");
    auto glyph = std::make_unique<TOutlineSimple>();
    TContour outer, hole;
    outer.Points = {{50, 0}, {50, 400}, {450, 400}, {450, 0}};
    hole.Points = {{150, 100}, {350, 100}, {350, 300}, {150, 300}};
    glyph->Contours = {outer, hole};
    glyph->UpdateBounds();
    Manager.Font().Outlines.SetOutline(0, std::move(glyph));
    Manager.Font().Hmtx()->SetLeftSideBearing(0, 50);
    Manager.Font().Hmtx()->SetAdvanceWidth(0, 500);
    Form = new TGlyphEditForm(Manager, 0);
    Form->resize(400 + TGlyphRuler::kThickness + 16, 400 + TGlyphRuler::kThickness + 16);
    Form->show();
    QCoreApplication::processEvents();
    if (Centre) {
      Form->SetZoomFactor(0.5);
      Form->CentreOn(250, 200);
    }
  }
  ~TWindowFixture() { delete Form.data(); }

  QImage Grab() { return Form->PaintBox()->grab().toImage(); }
  QPoint At(double X, double Y) const {
    const TIntPoint p = Form->View().FontToScreen(X, Y);
    return {p.X, p.Y};
  }
  QColor Pixel(const QImage& I, double X, double Y) const { return I.pixelColor(At(X, Y)); }
};

const QColor kGrid(0xA6, 0xA6, 0xFF);

}  // namespace

TEST(GlyphEditForm, PaintsOutlineHoleGridAndHidesAidsWhileHIsHeld) {
  TWindowFixture f;
  ASSERT_EQ(f.Form->PaintBox()->size(), QSize(400, 400));
  const QColor window = f.Form->palette().color(QPalette::Base);
  QImage img = f.Grab();
  EXPECT_EQ(f.Pixel(img, 100, 210), QColor(Qt::black)) << "inside the filled ring";
  EXPECT_EQ(f.Pixel(img, 260, 210), window) << "the hole stays unfilled";
  EXPECT_EQ(f.Pixel(img, 600, -150), kGrid) << "a vertical grid line at x = 600";
  EXPECT_EQ(f.Pixel(img, 550, -150), window);
  EXPECT_EQ(f.Pixel(img, 550, 0), QColor(Qt::red)) << "the reference line y = 0 in its own colour";

  QTest::keyPress(f.Form, Qt::Key_H);
  img = f.Grab();
  EXPECT_TRUE(f.Form->HideAids());
  EXPECT_EQ(f.Pixel(img, 600, -150), window) << "no grid while H is held";
  EXPECT_EQ(f.Pixel(img, 550, 0), window);
  EXPECT_EQ(f.Pixel(img, 100, 210), QColor(Qt::black)) << "the outline stays";
  EXPECT_EQ(f.Form->PaintBox()->cursor().shape(), Qt::BlankCursor);
  QTest::keyRelease(f.Form, Qt::Key_H);
  EXPECT_EQ(f.Pixel(f.Grab(), 600, -150), kGrid);
}

TEST(GlyphEditForm, PointMarkersSitOnTheMappedPoints) {
  TWindowFixture f;
  f.Manager.EditWindows().SetEditMode(&f.Manager, 0, emPoint);  // another party switches: the window repaints
  f.Manager.EditWindows().SelectPoint(&f.Manager, 0, 0, 2);
  const QImage img = f.Grab();
  for (const auto& [x, y] : {std::pair{50.0, 0.0}, std::pair{150.0, 100.0}}) {
    const QPoint p = f.At(x, y);
    EXPECT_EQ(img.pixelColor(p), QColor(Qt::white)) << x << "," << y;  // white centre
    EXPECT_EQ(img.pixelColor(p + QPoint(1, 0)), QColor(Qt::white));
    EXPECT_EQ(img.pixelColor(p + QPoint(2, 0)), QColor(Qt::black));  // the square ring of radius 2
    EXPECT_EQ(img.pixelColor(p + QPoint(3, 0)), QColor(Qt::white));
  }
  const QPoint s = f.At(450, 400);  // selected: a black centre and ring 1
  EXPECT_EQ(img.pixelColor(s), QColor(Qt::black));
  EXPECT_EQ(img.pixelColor(s + QPoint(1, 1)), QColor(Qt::black));
  EXPECT_EQ(img.pixelColor(s + QPoint(4, 0)), QColor(Qt::white));
  EXPECT_EQ(f.Form->SelectionStatusText(),
            QStringLiteral("Point [contour index: 0 point index: 2] selected (450, 400)"));
}

TEST(GlyphEditForm, OpensFittedWithCaptionAndFollowsTheEditWindowList) {
  TWindowFixture f(false);
  // Fit in the 366-pixel paint box of a new 400 x 400 window: 0.9 * 366 / 400 for a 400-unit square.
  EXPECT_DOUBLE_EQ(f.Form->ZoomFactor(), 0.9 * 366 / 400);
  EXPECT_TRUE(f.Form->windowTitle().startsWith(QStringLiteral("Square.ttf - Simple Glyph Index: $0000 - Caption: ")))
      << f.Form->windowTitle().toStdString();
  EXPECT_TRUE(f.Manager.EditWindows().HasEntry(0));

  // A glyph inserted before it renumbers the window.
  f.Manager.Font().InsertEmptyGlyph(0);
  f.Manager.EditWindows().GlyphInserted(0);
  EXPECT_EQ(f.Form->Glyph(), 1);
  EXPECT_TRUE(f.Form->windowTitle().contains(QStringLiteral("Glyph Index: $0001")));

  // Deleting its glyph closes it and leaves no subscriber behind.
  f.Manager.Font().DeleteGlyph(1);
  f.Manager.EditWindows().GlyphDeleted(1);
  QCoreApplication::processEvents();
  QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  EXPECT_TRUE(f.Form.isNull());
  EXPECT_FALSE(f.Manager.EditWindows().HasEntry(1));
}

TEST(GlyphEditForm, SwitchingGlyphsCarriesTheModeAndStartsWithoutSelection) {
  TWindowFixture f;
  f.Manager.Font().InsertEmptyGlyph(1);
  f.Manager.EditWindows().SetEditMode(&f.Manager, 0, emPoint);
  f.Form->SwitchToGlyph(1);
  EXPECT_EQ(f.Form->Glyph(), 1);
  EXPECT_FALSE(f.Manager.EditWindows().HasEntry(0));  // its only window left it
  EXPECT_EQ(f.Manager.EditWindows().GetEditMode(f.Form, 1), emPoint);
  EXPECT_TRUE(f.Form->windowTitle().contains(QStringLiteral("Empty Glyph Index: $0001")));
  EXPECT_EQ(f.Form->SelectionStatusText(), QString());
  f.Form->SwitchToGlyph(0);
  f.Manager.EditWindows().SelectPoint(&f.Manager, 0, 0, 1);
  f.Form->AddGuidelinesFromSelection();
  TGuideLineSettings& g = *TGuideLineSettings::AccessInstance(1);
  ASSERT_EQ(g.Vertical.Count(), 1u);
  EXPECT_EQ(g.Vertical.Items(0).X, 50);
  EXPECT_EQ(g.Horizontal.Items(0).Y, 400);
  g.ClearAll();
}

TEST(GlyphEditForm, ZoomSignalsAndScrollBarsFollowTheView) {
  TWindowFixture f;
  std::vector<double> shown;
  QObject::connect(f.Form, &TGlyphEditForm::showZoomFactor, [&](double Z) { shown.push_back(Z); });
  f.Form->SetZoomFactor(20);
  f.Form->SetZoomFactor(10);  // no change: no signal
  f.Form->SetZoomFactor(0.0001);
  EXPECT_EQ(shown, (std::vector<double>{10, 0.001}));
  EXPECT_FALSE(f.Form->HorizontalScrollBar()->isEnabled());
  f.Form->SetZoomFactor(1);
  EXPECT_TRUE(f.Form->HorizontalScrollBar()->isEnabled());
  EXPECT_EQ(f.Form->HorizontalScrollBar()->minimum(), -16234);
  EXPECT_EQ(f.Form->HorizontalScrollBar()->maximum(), 16233);
  // Moving a bar moves the view.
  const double before = f.Form->View().ScreenToFontX(0);
  f.Form->HorizontalScrollBar()->setValue(f.Form->HorizontalScrollBar()->value() + 100);
  EXPECT_DOUBLE_EQ(f.Form->View().ScreenToFontX(0), before + 100);
}

TEST(GlyphEditForm, BackgroundImageLoadsOnlyWhenReadableAndCanBeRetried) {
  TWindowFixture f;
  QTemporaryDir dir;
  const QString file = dir.filePath(QStringLiteral("background.bmp"));
  EXPECT_THROW(f.Form->LoadBackgroundImage(file), std::exception);
  EXPECT_TRUE(f.Form->BackgroundImageFile().isEmpty());  // a failed load names nothing

  QImage picture(20, 10, QImage::Format_RGB32);
  picture.fill(QColor(0, 200, 0));
  ASSERT_TRUE(picture.save(file, "BMP"));
  f.Form->LoadBackgroundImage(file);  // the same name again: now it loads
  EXPECT_EQ(f.Form->BackgroundImageFile(), file);
  f.Form->SetBackgroundImageX(-100);
  f.Form->SetBackgroundImageY(-180);
  f.Form->SetBackgroundImageScale(5);  // 100 x 50 font units, up to y = -130
  f.Form->SetBackgroundImageVisible(true);
  QImage img = f.Grab();
  EXPECT_EQ(f.Pixel(img, -50, -160), QColor(0, 200, 0));
  EXPECT_NE(f.Pixel(img, -50, -120), QColor(0, 200, 0));  // above the image's top
  QTest::keyPress(f.Form, Qt::Key_H);
  EXPECT_NE(f.Pixel(f.Grab(), -50, -160), QColor(0, 200, 0));
  QTest::keyRelease(f.Form, Qt::Key_H);
}

TEST(GlyphEditForm, GuidelineDragsMoveAndAZoomCancelsATurn) {
  TWindowFixture f;
  TGuideLineSettings& g = *TGuideLineSettings::AccessInstance(1);
  g.Horizontal.Add(500);
  f.Form->Repaint();
  QWidget* box = f.Form->PaintBox();
  const QPoint on = f.At(-100, 500), to = f.At(-100, 600);
  EXPECT_EQ(f.Grab().pixelColor(on), QColor(Qt::black));  // the guideline is drawn
  QTest::mousePress(box, Qt::LeftButton, {}, on);
  QTest::mouseMove(box, to);
  QTest::mouseRelease(box, Qt::LeftButton, {}, to);
  ASSERT_EQ(g.Horizontal.Count(), 1u);
  EXPECT_EQ(g.Horizontal.Items(0).Y, 600);
  EXPECT_EQ(f.Form->EditState(), 0);

  // Shift turns it; a zoom change in the middle leaves it where it was.
  QTest::mousePress(box, Qt::LeftButton, Qt::ShiftModifier, to);
  QTest::mouseMove(box, to + QPoint(30, -30));
  EXPECT_EQ(f.Form->EditState(), TGuidelineDrag::Turning);
  f.Form->SetZoomFactor(0.25);
  EXPECT_EQ(f.Form->EditState(), 0);
  QTest::mouseRelease(box, Qt::LeftButton, Qt::ShiftModifier, to + QPoint(30, -30));
  ASSERT_EQ(g.Horizontal.Count(), 1u);
  EXPECT_EQ(g.Horizontal.Items(0).Y, 600);
  EXPECT_EQ(g.Diagonal.Count(), 0u);
  g.ClearAll();
}

TEST(GlyphEditForm, AFontWithoutUnitsPerEmStillFitsAndPaints) {
  TWindowFixture f;
  f.Manager.Font().Head()->unitsPerEm = 0;  // damaged head: nothing in the view may divide by it
  int errors = 0;
  QObject::connect(f.Form, &TGlyphEditForm::showEditStatus, [&](const QString& Text0, const QString&) {
    errors += !Text0.isEmpty();
  });
  f.Form->FitOnScreen();
  const QImage img = f.Grab();
  EXPECT_EQ(errors, 0);
  EXPECT_EQ(img.pixelColor(f.At(100, 210)), QColor(Qt::black));
}

TEST(GlyphEditForm, HintingPanelShowsInstructedGlyphs) {
  TWindowFixture f;
  EXPECT_TRUE(f.Form->HintingPanel()->text().isEmpty());
  static_cast<TOutlineSimple*>(f.Manager.Font().Outlines.Items(0))->Instructions = {0xB0, 0x00};
  f.Manager.EditWindows().GlyphChanged(0);
  f.Grab();
  EXPECT_EQ(f.Form->HintingPanel()->text(), QStringLiteral("H"));
}

// Real glyphs at three zooms, written for a developer to look at.
TEST(GlyphEditForm, ScreenshotsOfRealGlyphs) {
  const char* file = "/usr/share/fonts/truetype/liberation2/LiberationSans-Regular.ttf";
  if (!std::filesystem::exists(file)) GTEST_SKIP() << "fonts-liberation2 is not installed";
  DefaultViewSettings();
  TRegistrySettings::Instance().SetShowFirstAndLastPointIndicators(true);
  TTrueTypeFontManager m;
  m.Font().LoadFromFile(file);
  m.SetFileName(file);
  int composite = -1;
  // An accented letter: a composite of two members with ink.
  for (size_t g = 0; g < m.Font().GlyphCount() && composite < 0; ++g) {
    const TOutlineBase* o = m.Font().Outlines.Items(g);
    if (o->GetKind() == okComposite && o->GetComponentCount() >= 2 && o->Bounds.YMax - o->Bounds.YMin > 1000)
      composite = int(g);
  }
  size_t hole = 0, space = 0;
  ASSERT_TRUE(m.Font().FindGlyphByName("B", 0, true, true, hole));
  ASSERT_TRUE(m.Font().FindGlyphByName("space", 0, true, true, space));
  ASSERT_GE(composite, 0);
  const struct {
    const char* Name;
    int Glyph;
  } glyphs[] = {{"composite", composite}, {"hole", int(hole)}, {"empty", int(space)}};
  for (const auto& g : glyphs) {
    auto* form = new TGlyphEditForm(m, g.Glyph);
    form->resize(500, 500);
    form->show();
    QCoreApplication::processEvents();
    if (std::string(g.Name) == "hole") m.EditWindows().SetEditMode(&m, g.Glyph, emPoint);
    if (std::string(g.Name) == "composite") m.EditWindows().SelectMember(&m, g.Glyph, 1);
    const double fit = form->ZoomFactor();
    for (const auto& [suffix, zoom] : {std::pair{"fit", fit}, std::pair{"small", 0.05}, std::pair{"large", 0.8}}) {
      form->SetZoomFactor(zoom);
      if (std::string(suffix) == "fit") form->FitOnScreen();
      const QImage img = test::GrabWidget(form, QStringLiteral("glyphedit_%1_%2").arg(g.Name, suffix));
      EXPECT_FALSE(img.isNull());
      // The picture is not blank: the glyph or at least the aids put ink on it.
      const QImage box = form->PaintBox()->grab().toImage();
      int dark = 0;
      for (int y = 0; y < box.height(); y += 2)
        for (int x = 0; x < box.width(); x += 2) dark += qGray(box.pixel(x, y)) < 64;
      if (std::string(g.Name) != "empty" && std::string(suffix) != "small") EXPECT_GT(dark, 200) << g.Name << suffix;
    }
    delete form;
  }
  TRegistrySettings::Instance().SetShowFirstAndLastPointIndicators(false);
}
