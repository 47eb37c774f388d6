// A long random run of table commands, undos and redos over a real font:
// undoing everything gives back a font that saves byte for byte as before.
#include <gtest/gtest.h>

#include <random>

#include "core/document/fontmanager_support.h"

namespace tsy {
namespace {

std::vector<uint8_t> SavedBytes(TTrueTypeFont& F) {
  TMemoryStream m;
  F.SaveToStream(m);
  return m.Bytes();
}

std::vector<uint8_t> OutlineBytes(const TTrueTypeFont& F) {
  TMemoryStream m;
  for (size_t g = 0; g < F.GlyphCount(); ++g) F.Outlines.WriteSnapshot(int(g), m);
  return m.Bytes();
}

// Random edits for every dialog, each valid for the font at hand.
struct TRandomEditor : tsytest::TScriptedEditor {
  std::mt19937& Rng;
  int GlyphCount;
  int Next(int N) { return int(Rng() % uint32_t(N)); }

  TRandomEditor(std::mt19937& R, int Glyphs) : Rng(R), GlyphCount(Glyphs) {
    Gasp = [this](TTableGasp& T) {
      if (Next(4) == 0) return T.Clear();
      if (T.RangeCount() && Next(2)) return T.DeleteRange(size_t(Next(int(T.RangeCount()))));
      T.AddRange({uint16_t(Next(0x10000)), uint16_t(Next(16))});
    };
    Kerning = [this](TTableKern& T) {
      if (Next(5) == 0) return T.Clear();
      if (T.PairCount() && Next(2)) return T.DeletePair(size_t(Next(int(T.PairCount()))));
      const uint16_t l = uint16_t(Next(GlyphCount)), r = uint16_t(Next(GlyphCount));
      if (T.FindPair(l, r) < 0) T.AddPair({l, r, int16_t(Next(400) - 200)});
    };
    Pcl5 = [this](TTablePCLT& T, bool& Include) {
      Include = Next(3) != 0;
      T.pitch = uint16_t(Next(2000));
      T.SetFileName("F" + std::to_string(Next(100)));
    };
    Naming = [this](TTableName& T) {
      T.Names.SetName(3, 1, u"Name " + std::u16string(size_t(Next(20)), u'x'), uint16_t(Next(20)), 0x409);
    };
    Mappings = [this](TTableCmap& T) {
      if (T.SubTableCount() > 1 && Next(6) == 0) {
        const uint32_t pair = T.SubTablePair(size_t(Next(int(T.SubTableCount()))));
        return T.DeleteSubTable(uint16_t(pair), uint16_t(pair >> 16));
      }
      if (TCmapEncodingSubTable* s = T.FindSubTable(3, 1))
        s->AddMapping(uint16_t(Next(GlyphCount)), 0xE000 + uint32_t(Next(0x1000)));
    };
    Platforms = [this](TTableCmap& C, TTableName& N) {
      if (Next(2)) Mappings(C);
      if (N.PlatformCount() > 1 && Next(2)) N.DeletePlatform(N.Platform(0).PlatformID, N.Platform(0).EncodingID);
      else Naming(N);
    };
    Settings = [this](TTableOS_2& O, TTableHead& H, TTableHhea& Hh, TTablePost& P) {
      switch (Next(4)) {
        case 0: O.usWeightClass = uint16_t(100 * (1 + Next(9))); break;
        case 1: H.macStyle = uint16_t(Next(4)); break;
        case 2: Hh.lineGap = int16_t(Next(300)); break;
        default: P.underlinePosition = int16_t(-Next(300)); break;
      }
    };
    PostNames = [this](TTablePost& T) {
      if (T.HasGlyphNames() && T.NameCount())
        T.SetName(size_t(Next(int(T.NameCount()))), "g" + std::to_string(Next(100000)));
    };
    Tables = [this](std::vector<std::string>& Tags, bool& Hinting) {
      static const char* raw[] = {"FFTM", "GDEF", "GPOS", "GSUB"};
      Hinting = Next(3) == 0;
      for (int k = Next(3); k > 0; --k) Tags.push_back(raw[Next(4)]);
    };
  }
};

TEST(FontManagerRandom, UndoingEverythingRestoresTheSavedFont) {
  TTrueTypeFontManager m;
  tsytest::LoadManagerFont(m);
  const std::vector<uint8_t> original = SavedBytes(m.Font());
  const tsytest::TFontState state = tsytest::StateOf(m.Font());
  const std::vector<uint8_t> outlines = OutlineBytes(m.Font());

  std::mt19937 rng(20240611);
  TRandomEditor editor(rng, int(m.Font().GlyphCount()));
  int64_t clock = 3'800'000'000;
  m.Clock = [&] { return clock; };
  using TCommand = bool (TTrueTypeFontManager::*)(TFontTableEditor&);
  const TCommand commands[] = {
      &TTrueTypeFontManager::EditGrayscale,       &TTrueTypeFontManager::EditKerning,
      &TTrueTypeFontManager::EditPCL5,            &TTrueTypeFontManager::EditNaming,
      &TTrueTypeFontManager::EditCharacterMappings, &TTrueTypeFontManager::EditPlatforms,
      &TTrueTypeFontManager::EditFontSettings,    &TTrueTypeFontManager::EditPostscriptNames,
      &TTrueTypeFontManager::EditFontTables,
  };
  int recorded = 0, undone = 0, redone = 0;
  for (int step = 0; step < 300; ++step) {
    const int what = editor.Next(20);
    if (what < 4 && m.History().CanUndo()) {
      m.Undo(1 + editor.Next(3) % int(m.History().UndoList().size()));
      ++undone;
    } else if (what < 7 && m.History().CanRedo()) {
      m.Redo(1 + editor.Next(3) % int(m.History().RedoList().size()));
      ++redone;
    } else if (what == 7) {
      m.SetLeftSideBearingAtX0();
      ++recorded;
    } else if (what == 8) {
      clock += 1 + editor.Next(100000);
      recorded += m.UpdateModifiedDateTime();
    } else {
      editor.Ok = editor.Next(8) != 0;
      recorded += (m.*commands[editor.Next(9)])(editor);
    }
  }
  EXPECT_GT(recorded, 150);
  EXPECT_GT(undone, 20);
  EXPECT_GT(redone, 10);

  const size_t levels = m.History().UndoList().size();
  m.Undo(int(levels));
  EXPECT_FALSE(m.History().CanUndo());
  // Narrow down a difference before the whole file is compared.
  EXPECT_TRUE(tsytest::StateOf(m.Font()) == state);
  EXPECT_TRUE(OutlineBytes(m.Font()) == outlines);
  EXPECT_TRUE(SavedBytes(m.Font()) == original);
}

}  // namespace
}  // namespace tsy
