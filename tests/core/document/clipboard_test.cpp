// Glyphs and contours through the clipboard: the byte formats, copy and the
// two overview pastes with their undo, and hostile clipboard data.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>

#include "core/document/fontmanager_support.h"
#include "document/clipboardcommands.h"
#include "fontfile/primitives.h"
#include "fontfile/tables/hmtx.h"

namespace tsy {
namespace {

using tsytest::StateOf;

const char* kLiberation = "/usr/share/fonts/truetype/liberation2/LiberationSans-Regular.ttf";  // 2048 units, hinted
const char* kFreeSans = "/usr/share/fonts/truetype/freefont/FreeSans.ttf";                     // 1000 units

std::vector<uint8_t> Snapshot(const TTrueTypeFont& F, int G) {
  TMemoryStream m;
  F.Outlines.WriteSnapshot(G, m);
  return m.Bytes();
}

std::vector<uint8_t> AllOutlines(const TTrueTypeFont& F) {
  TMemoryStream m;
  for (size_t g = 0; g < F.GlyphCount(); ++g) F.Outlines.WriteSnapshot(int(g), m);
  return m.Bytes();
}

void Select(TTrueTypeFontManager& M, std::initializer_list<int> Glyphs) {
  M.SelectedGlyphs().Clear();
  for (int g : Glyphs) M.SelectedGlyphs().SetSelected(g, true);
}

// 0 for an unmapped character, as the overview shows it.
int GlyphOf(const TTrueTypeFont& F, uint32_t Char) { return std::max(0, int(F.Cmap()->UnicodeGlyph(Char))); }

int FirstGlyphOfKind(const TTrueTypeFont& F, int Kind, bool WithInstructions = false) {
  for (size_t g = 1; g < F.GlyphCount(); ++g) {
    const TOutlineBase* o = F.Outlines.Items(g);
    if (o->GetKind() == Kind && (!WithInstructions || o->HasInstructions())) return int(g);
  }
  return -1;
}

TEST(ClipboardFormats, MimeTypesFollowTheFormatNames) {
  EXPECT_EQ(ClipboardMimeType("Glyph glyf Data TSY4"), "application/x-tessary-glyph-glyf-data-tsy4");
  EXPECT_EQ(ClipboardMimeType("Font Identification"), "application/x-tessary-font-identification");
}

TEST(ClipboardFormats, EveryLoadHasItsOwnIdentity) {
  TTrueTypeFont a, b;
  a.LoadFromFile(kFreeSans);
  b.LoadFromFile(kFreeSans);
  EXPECT_NE(a.FontIdentification, b.FontIdentification);
}

TEST(ClipboardFormats, CopyWritesEveryGlyphFormatInSelectionOrder) {
  TTrueTypeFontManager m;
  m.Font().LoadFromFile(kFreeSans);
  const int a = GlyphOf(m.Font(), 'A'), b = GlyphOf(m.Font(), 'B');
  Select(m, {b, a});  // selection order does not matter: entries ascend
  TMemoryClipboard clip;
  CopyGlyphs(m, clip);
  EXPECT_EQ(clip.Text(), "Glyph Data");

  const auto id = DecodeFontIdentity(clip.Data(clipfmt::FontIdentification));
  EXPECT_EQ(id.Id, m.Font().FontIdentification);
  EXPECT_EQ(id.UnitsPerEm, 1000);
  const std::vector<int32_t> want = {std::min(a, b), std::max(a, b)};
  EXPECT_EQ(DecodeGlyphSelection(clip.Data(clipfmt::GlyphSelection)), want);

  const auto outlines = DecodeGlyphOutlines(clip.Data(clipfmt::GlyphOutlines));
  ASSERT_EQ(outlines.size(), 2u);
  EXPECT_EQ(outlines[0].Glyph, want[0]);
  TMemoryStream s;
  WriteUInt16(s, okSimple);
  outlines[0].Outline->WriteSnapshot(s);
  EXPECT_EQ(s.Bytes(), Snapshot(m.Font(), want[0]));

  const auto metrics = DecodeGlyphMetrics(clip.Data(clipfmt::GlyphMetrics));
  ASSERT_EQ(metrics.size(), 2u);
  EXPECT_EQ(metrics[1].AdvanceWidth, m.Font().Hmtx()->AdvanceWidth(want[1]));
  const auto names = DecodeGlyphNames(clip.Data(clipfmt::GlyphNames));
  ASSERT_EQ(names.size(), 2u);
  EXPECT_EQ(names[0].Name, want[0] == a ? "A" : "B");
  const auto maps = DecodeGlyphMappings(clip.Data(clipfmt::GlyphMappings));
  ASSERT_EQ(maps.size(), 2u);
  bool unicodeA = false;
  for (const auto& map : maps[want[0] == a ? 0 : 1].Mappings)
    unicodeA |= map.PlatformID == 3 && map.EncodingID == 1 && map.CharCode == 'A';
  EXPECT_TRUE(unicodeA);
}

TEST(ClipboardPaste, ScalesToTheTargetEmAndDropsForeignInstructions) {
  TTrueTypeFontManager src, dst;
  src.Font().LoadFromFile(kFreeSans);
  dst.Font().LoadFromFile(kLiberation);
  Select(src, {10, 11, 12});
  TMemoryClipboard clip;
  CopyGlyphs(src, clip);

  const int target = FirstGlyphOfKind(dst.Font(), okSimple, true);
  ASSERT_GT(target, 0);
  Select(dst, {target});
  const auto before = StateOf(dst.Font());
  const auto outlinesBefore = AllOutlines(dst.Font());
  PasteGlyphData(dst, clip);
  EXPECT_EQ(dst.History().UndoCaption(), "Paste Glyph Data");

  const double k = 2048.0 / 1000.0;
  for (int j = 0; j < 3; ++j) {
    const auto* from = dynamic_cast<const TOutlineSimple*>(src.Font().Outlines.Items(size_t(10 + j)));
    const TOutlineBase* to = dst.Font().Outlines.Items(size_t(target + j));
    EXPECT_FALSE(to->HasInstructions()) << j;
    if (from) {
      const auto* simple = dynamic_cast<const TOutlineSimple*>(to);
      ASSERT_NE(simple, nullptr);
      ASSERT_EQ(simple->Contours.size(), from->Contours.size());
      for (size_t c = 0; c < from->Contours.size(); ++c)
        for (size_t p = 0; p < from->Contours[c].Points.size(); ++p) {
          EXPECT_DOUBLE_EQ(simple->Contours[c].Points[p].X, from->Contours[c].Points[p].X * k);
          EXPECT_DOUBLE_EQ(simple->Contours[c].Points[p].Y, from->Contours[c].Points[p].Y * k);
        }
    }
    EXPECT_EQ(dst.Font().Hmtx()->AdvanceWidth(target + j),
              int(std::trunc(src.Font().Hmtx()->AdvanceWidth(10 + j) * k)));
    EXPECT_EQ(dst.Font().Hmtx()->LeftSideBearing(target + j),
              int(std::trunc(src.Font().Hmtx()->LeftSideBearing(10 + j) * k)));
  }

  const auto after = StateOf(dst.Font());
  const auto outlinesAfter = AllOutlines(dst.Font());
  dst.Undo();
  EXPECT_EQ(StateOf(dst.Font()), before);
  EXPECT_EQ(AllOutlines(dst.Font()), outlinesBefore);
  dst.Redo();
  EXPECT_EQ(StateOf(dst.Font()), after);
  EXPECT_EQ(AllOutlines(dst.Font()), outlinesAfter);
}

TEST(ClipboardPaste, InstructionsStayOnlyWithinTheSameLoadedFont) {
  TTrueTypeFontManager a, b;
  a.Font().LoadFromFile(kLiberation);
  b.Font().LoadFromFile(kLiberation);
  const int g = FirstGlyphOfKind(a.Font(), okSimple, true);
  ASSERT_GT(g, 0);
  Select(a, {g});
  TMemoryClipboard clip;
  CopyGlyphs(a, clip);

  Select(a, {g + 1});
  PasteGlyphData(a, clip);
  EXPECT_EQ(Snapshot(a.Font(), g + 1), Snapshot(a.Font(), g));

  Select(b, {g + 1});
  PasteGlyphData(b, clip);
  EXPECT_FALSE(b.Font().Outlines.Items(size_t(g + 1))->HasInstructions());
}

TEST(ClipboardPaste, DestinationRule) {
  // Two selected glyphs take the first two of three entries; one selected
  // glyph takes them all, consecutively; none goes past the last glyph.
  EXPECT_EQ(PasteDestination({5, 9}, 0, 100), 5);
  EXPECT_EQ(PasteDestination({5, 9}, 1, 100), 9);
  EXPECT_EQ(PasteDestination({5, 9}, 2, 100), -1);
  EXPECT_EQ(PasteDestination({40}, 2, 100), 42);
  EXPECT_EQ(PasteDestination({98}, 2, 100), -1);

  TTrueTypeFontManager m;
  m.Font().LoadFromFile(kFreeSans);
  Select(m, {20, 21, 22});
  TMemoryClipboard clip;
  CopyGlyphs(m, clip);
  const auto untouched = Snapshot(m.Font(), 7);
  Select(m, {5, 9});
  PasteGlyphData(m, clip);
  EXPECT_EQ(Snapshot(m.Font(), 5), Snapshot(m.Font(), 20));
  EXPECT_EQ(Snapshot(m.Font(), 9), Snapshot(m.Font(), 21));
  EXPECT_EQ(Snapshot(m.Font(), 7), untouched);
}

TEST(ClipboardPaste, CompositeArrivesAsItsDecomposition) {
  TTrueTypeFontManager m;
  m.Font().LoadFromFile(kLiberation);
  const int composite = FirstGlyphOfKind(m.Font(), okComposite);
  ASSERT_GT(composite, 0);
  TOutlineContours drawn;
  m.Font().Outlines.Items(size_t(composite))->AddTransformedContours(drawn, TOutlineTransform{});
  Select(m, {composite});
  TMemoryClipboard clip;
  CopyGlyphs(m, clip);
  const int target = FirstGlyphOfKind(m.Font(), okSimple);
  Select(m, {target});
  PasteGlyphData(m, clip);
  const auto* pasted = dynamic_cast<const TOutlineSimple*>(m.Font().Outlines.Items(size_t(target)));
  ASSERT_NE(pasted, nullptr);
  EXPECT_EQ(pasted->Contours, drawn);
}

// Clipboard data as another program might leave it: one glyph's metrics
// from a font of EmSource units.
TMemoryClipboard ForeignMetrics(uint16_t EmSource, int32_t Lsb, int32_t Advance) {
  TMemoryClipboard clip;
  TMemoryStream id, glyf, hmtx;
  WriteUInt32(id, 1);
  WriteUInt16(id, EmSource);
  WriteUInt16(glyf, 0);
  WriteUInt16(hmtx, 1);
  WriteUInt16(hmtx, 3);
  WriteInt32(hmtx, Lsb);
  WriteInt32(hmtx, Advance);
  clip.SetData(clipfmt::FontIdentification, id.Bytes());
  clip.SetData(clipfmt::GlyphOutlines, glyf.Bytes());
  clip.SetData(clipfmt::GlyphMetrics, hmtx.Bytes());
  return clip;
}

TEST(ClipboardPaste, MetricsTruncateTowardZero) {
  TTrueTypeFontManager m;
  m.Font().LoadFromFile(kFreeSans);  // 1000 units
  Select(m, {30});
  PasteGlyphData(m, ForeignMetrics(2048, -7, 1001));
  EXPECT_EQ(m.Font().Hmtx()->LeftSideBearing(30), -3);
  EXPECT_EQ(m.Font().Hmtx()->AdvanceWidth(30), 488);
}

TEST(ClipboardPaste, WithoutIdentityNothingIsScaled) {
  TTrueTypeFontManager m;
  m.Font().LoadFromFile(kFreeSans);
  TMemoryClipboard clip = ForeignMetrics(2048, -7, 1001);
  clip.Put("", {{clipfmt::GlyphOutlines, clip.Data(clipfmt::GlyphOutlines)},
                {clipfmt::GlyphMetrics, clip.Data(clipfmt::GlyphMetrics)}});
  Select(m, {30});
  PasteGlyphData(m, clip);
  EXPECT_EQ(m.Font().Hmtx()->LeftSideBearing(30), -7);
  EXPECT_EQ(m.Font().Hmtx()->AdvanceWidth(30), 1001);
}

// Every way of breaking the data fails before the font changes: no level,
// no changed byte.
TEST(ClipboardPaste, HostileDataChangesNothing) {
  TTrueTypeFontManager src, m;
  src.Font().LoadFromFile(kFreeSans);
  m.Font().LoadFromFile(kFreeSans);
  // Two small glyphs (period and hyphen) keep the sweep over every cut short.
  Select(src, {GlyphOf(src.Font(), '.'), GlyphOf(src.Font(), '-')});
  TMemoryClipboard good;
  CopyGlyphs(src, good);

  // Glyph 50 is where a paste would land; the whole font is compared once
  // at the end, as every case decodes before it changes anything.
  const auto before = StateOf(m.Font());
  const auto outlines = AllOutlines(m.Font());
  const auto target = Snapshot(m.Font(), 50);
  const int lsb = m.Font().Hmtx()->LeftSideBearing(50), advance = m.Font().Hmtx()->AdvanceWidth(50);
  auto expectRefused = [&](const TMemoryClipboard& Clip, const std::string& What) {
    Select(m, {50});
    EXPECT_THROW(PasteGlyphData(m, Clip), EClipboardData) << What;
    EXPECT_FALSE(m.History().CanUndo()) << What;
    EXPECT_EQ(Snapshot(m.Font(), 50), target) << What;
    EXPECT_EQ(m.Font().Hmtx()->LeftSideBearing(50), lsb) << What;
    EXPECT_EQ(m.Font().Hmtx()->AdvanceWidth(50), advance) << What;
  };

  for (const char* format : {clipfmt::FontIdentification, clipfmt::GlyphOutlines, clipfmt::GlyphMetrics}) {
    const std::vector<uint8_t> full = good.Data(format);
    for (size_t n = 0; n < full.size(); ++n) {
      TMemoryClipboard clip = good;
      clip.SetData(format, std::vector<uint8_t>(full.begin(), full.begin() + long(n)));
      expectRefused(clip, std::string(format) + " cut to " + std::to_string(n));
    }
  }

  auto patched = [&](const char* Format, size_t At, std::vector<uint8_t> Bytes) {
    TMemoryClipboard clip = good;
    std::vector<uint8_t> d = clip.Data(Format);
    std::copy(Bytes.begin(), Bytes.end(), d.begin() + long(At));
    clip.SetData(Format, d);
    return clip;
  };
  expectRefused(patched(clipfmt::GlyphOutlines, 0, {0xFF, 0xFF}), "huge glyph count");
  expectRefused(patched(clipfmt::GlyphOutlines, 4, {0, 2}), "composite kind");
  expectRefused(patched(clipfmt::GlyphOutlines, 4, {0, 7}), "unknown kind");
  // The first point's x of the first glyph: count, index, kind, contour
  // count, bounds (32), point count.
  std::vector<uint8_t> nan(8);
  const double q = std::nan("");
  std::memcpy(nan.data(), &q, 8);
  expectRefused(patched(clipfmt::GlyphOutlines, 2 + 2 + 2 + 2 + 32 + 2, nan), "NaN coordinate");
  expectRefused(patched(clipfmt::GlyphMetrics, 0, {0xFF, 0xFF}), "huge metrics count");
  expectRefused(ForeignMetrics(1000, 0, 70000), "advance beyond 16 bits");
  EXPECT_EQ(StateOf(m.Font()), before);
  EXPECT_EQ(AllOutlines(m.Font()), outlines);

  // Bytes after the last entry are how a clipboard block may come back.
  TMemoryClipboard padded = good;
  std::vector<uint8_t> d = padded.Data(clipfmt::GlyphOutlines);
  d.resize(d.size() + 64);
  padded.SetData(clipfmt::GlyphOutlines, d);
  Select(m, {50});
  EXPECT_NO_THROW(PasteGlyphData(m, padded));
  EXPECT_EQ(Snapshot(m.Font(), 50), Snapshot(src.Font(), std::min(GlyphOf(src.Font(), '.'), GlyphOf(src.Font(), '-'))));
}

TEST(ClipboardPasteSpecial, MappingModes) {
  TTrueTypeFontManager m;
  m.Font().LoadFromFile(kFreeSans);
  const int a = GlyphOf(m.Font(), 'A'), b = GlyphOf(m.Font(), 'B');
  Select(m, {a});
  TMemoryClipboard clip;
  CopyGlyphs(m, clip);
  // A free code on the clipboard as well, as if A also had it.
  auto maps = DecodeGlyphMappings(clip.Data(clipfmt::GlyphMappings));
  TMemoryStream s;
  WriteUInt16(s, 1);
  WriteUInt16(s, uint16_t(a));
  WriteUInt16(s, uint16_t(maps[0].Mappings.size() + 1));
  for (const auto& map : maps[0].Mappings) {
    WriteUInt16(s, map.PlatformID);
    WriteUInt16(s, map.EncodingID);
    WriteUInt32(s, map.CharCode);
  }
  WriteUInt16(s, 3);
  WriteUInt16(s, 1);
  WriteUInt32(s, 0xE123);
  clip.SetData(clipfmt::GlyphMappings, s.Bytes());
  ASSERT_EQ(GlyphOf(m.Font(), 0xE123), 0);

  TPasteSpecialOptions only;
  only.Outlines = only.Metrics = false;
  only.Mappings = true;
  struct Case {
    TPasteSpecialOptions::TMappingMode Mode;
    int WantA, WantB, WantFree;
  };
  for (const Case& c : {Case{TPasteSpecialOptions::KeepSameMappings, a, b, b},
                        Case{TPasteSpecialOptions::OverruleSameMappings, b, 0, b},  // B's own code is gone
                        Case{TPasteSpecialOptions::AddMappings, b, b, b}}) {
    SCOPED_TRACE(int(c.Mode));
    const auto before = StateOf(m.Font());
    only.MappingMode = c.Mode;
    Select(m, {b});
    PasteSpecialGlyphData(m, clip, only);
    EXPECT_EQ(m.History().UndoCaption(), "Paste Special Glyph Data");
    EXPECT_EQ(GlyphOf(m.Font(), 'A'), c.WantA);
    EXPECT_EQ(GlyphOf(m.Font(), 'B'), c.WantB);
    EXPECT_EQ(GlyphOf(m.Font(), 0xE123), c.WantFree);
    m.Undo();
    EXPECT_EQ(StateOf(m.Font()), before);
  }
}

TEST(ClipboardPasteSpecial, NamesIntoAFontWithoutNamesRecordAnEmptyLevel) {
  TTrueTypeFontManager m;
  m.Font().LoadFromFile(kFreeSans);
  Select(m, {40, 41});
  TMemoryClipboard clip;
  CopyGlyphs(m, clip);
  m.Font().Post()->SetHasGlyphNames(false);
  const auto before = StateOf(m.Font());
  TPasteSpecialOptions names;
  names.Outlines = names.Metrics = false;
  names.Names = true;
  Select(m, {60});
  PasteSpecialGlyphData(m, clip, names);
  EXPECT_EQ(StateOf(m.Font()), before);
  EXPECT_EQ(m.SelectedGlyphs().Count(), 2);
  EXPECT_TRUE(m.SelectedGlyphs().IsSelected(60));
  EXPECT_TRUE(m.SelectedGlyphs().IsSelected(61));
}

TEST(ClipboardPasteSpecial, NamesAndOutlinesUndoTogether) {
  TTrueTypeFontManager m;
  m.Font().LoadFromFile(kFreeSans);
  Select(m, {40});
  TMemoryClipboard clip;
  CopyGlyphs(m, clip);
  const auto before = StateOf(m.Font());
  const auto outlines = AllOutlines(m.Font());
  TPasteSpecialOptions all;
  all.Names = true;
  Select(m, {70});
  PasteSpecialGlyphData(m, clip, all);
  EXPECT_EQ(m.Font().Post()->GetName(70), m.Font().Post()->GetName(40));
  EXPECT_EQ(Snapshot(m.Font(), 70), Snapshot(m.Font(), 40));
  m.Undo();
  EXPECT_EQ(StateOf(m.Font()), before);
  EXPECT_EQ(AllOutlines(m.Font()), outlines);
}

TEST(ClipboardContours, CopyTakesTheSelectedContoursInOrder) {
  TTrueTypeFontManager m;
  m.Font().LoadFromFile(kFreeSans);
  const int g = GlyphOf(m.Font(), 'B');  // three contours
  const auto* simple = dynamic_cast<const TOutlineSimple*>(m.Font().Outlines.Items(size_t(g)));
  ASSERT_GE(simple->Contours.size(), 3u);
  const void* window = &m;
  m.EditWindows().Subscribe(window, g, [](TGlyphNotification) {});
  m.EditWindows().SetEditMode(window, g, emContour);
  m.EditWindows().SelectContour(window, g, 2);
  m.EditWindows().SelectContour(window, g, 0);
  ASSERT_TRUE(CanCopyContours(m, window, g));
  TMemoryClipboard clip;
  CopyContours(m, window, g, clip);
  EXPECT_EQ(clip.Text(), "Glyph Contours");
  const auto contours = DecodeContours(clip.Data(clipfmt::ContourData));
  ASSERT_EQ(contours.size(), 2u);
  EXPECT_EQ(contours[0], simple->Contours[0]);
  EXPECT_EQ(contours[1], simple->Contours[2]);

  // Every truncation is refused.
  const auto full = clip.Data(clipfmt::ContourData);
  for (size_t n = 0; n < full.size(); ++n)
    EXPECT_THROW(DecodeContours(std::vector<uint8_t>(full.begin(), full.begin() + long(n))), EClipboardData) << n;
  m.EditWindows().Unsubscribe(window, g);
}

TEST(ClipboardContours, PasteIntoAnEmptyGlyphAndCutWithUndo) {
  TTrueTypeFontManager m;
  m.Font().LoadFromFile(kFreeSans);
  const int b = GlyphOf(m.Font(), 'B');
  const void* window = &m;
  m.EditWindows().Subscribe(window, b, [](TGlyphNotification) {});
  m.EditWindows().SetEditMode(window, b, emContour);
  m.EditWindows().SelectContour(window, b, 1);
  const auto bBefore = Snapshot(m.Font(), b);
  const auto* simpleB = dynamic_cast<const TOutlineSimple*>(m.Font().Outlines.Items(size_t(b)));
  const TContour cut = simpleB->Contours[1];
  const size_t contoursBefore = simpleB->Contours.size();

  TMemoryClipboard clip;
  CutContoursToClipboard(m, window, b, clip);
  EXPECT_EQ(m.History().UndoCaption(), "Cut Contours");
  const auto* afterCut = dynamic_cast<const TOutlineSimple*>(m.Font().Outlines.Items(size_t(b)));
  EXPECT_EQ(afterCut->Contours.size(), contoursBefore - 1);
  EXPECT_EQ(DecodeContours(clip.Data(clipfmt::ContourData)), std::vector<TContour>{cut});
  m.Undo();
  EXPECT_EQ(Snapshot(m.Font(), b), bBefore);

  const int space = GlyphOf(m.Font(), ' ');
  ASSERT_EQ(m.Font().Outlines.Items(size_t(space))->GetKind(), okEmpty);
  ASSERT_TRUE(CanPasteContours(m, space, clip));
  PasteContoursFromClipboard(m, space, clip);
  EXPECT_EQ(m.History().UndoCaption(), "Paste Glyph Contours");
  const auto* pasted = dynamic_cast<const TOutlineSimple*>(m.Font().Outlines.Items(size_t(space)));
  ASSERT_NE(pasted, nullptr);
  EXPECT_EQ(pasted->Contours, std::vector<TContour>{cut});
  m.Undo();
  EXPECT_EQ(m.Font().Outlines.Items(size_t(space))->GetKind(), okEmpty);

  // Damaged contour data changes nothing.
  clip.SetData(clipfmt::ContourData, {0, 1, 0, 9});
  EXPECT_THROW(PasteContoursFromClipboard(m, space, clip), EClipboardData);
  EXPECT_EQ(m.Font().Outlines.Items(size_t(space))->GetKind(), okEmpty);
  m.EditWindows().Unsubscribe(window, b);
}

TEST(ClipboardMembers, OnlyGlyphsOfTheSameLoadedFontBecomeMembers) {
  TTrueTypeFontManager m, other;
  m.Font().LoadFromFile(kFreeSans);
  other.Font().LoadFromFile(kFreeSans);
  const int a = GlyphOf(m.Font(), 'A'), space = GlyphOf(m.Font(), ' ');
  Select(m, {a});
  TMemoryClipboard clip;
  CopyGlyphs(m, clip);
  EXPECT_FALSE(CanPasteGlyphsAsMembers(other, space, clip));
  EXPECT_FALSE(CanPasteGlyphsAsMembers(m, a, clip));  // a simple glyph takes no members
  ASSERT_TRUE(CanPasteGlyphsAsMembers(m, space, clip));

  // A copied index beyond the font (deleted since) is skipped.
  TMemoryStream sel;
  WriteUInt16(sel, 2);
  WriteUInt16(sel, uint16_t(a));
  WriteUInt16(sel, 65000);
  clip.SetData(clipfmt::GlyphSelection, sel.Bytes());
  PasteGlyphsAsMembersFromClipboard(m, space, clip);
  EXPECT_EQ(m.History().UndoCaption(), m.GlyphUndoName(space, "Paste Glyphs"));
  const auto* composite = dynamic_cast<const TOutlineComposite*>(m.Font().Outlines.Items(size_t(space)));
  ASSERT_NE(composite, nullptr);
  ASSERT_EQ(composite->Members.size(), 1u);
  EXPECT_EQ(composite->Members[0].GlyphIndex, a);
  m.Undo();
  EXPECT_EQ(m.Font().Outlines.Items(size_t(space))->GetKind(), okEmpty);
}

}  // namespace
}  // namespace tsy
