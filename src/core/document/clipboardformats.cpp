#include "document/clipboardformats.h"

#include <algorithm>
#include <cctype>
#include <cmath>

#include "fontfile/primitives.h"
#include "fontfile/tables/cmap.h"
#include "fontfile/tables/head.h"
#include "fontfile/tables/hmtx.h"
#include "fontfile/tables/post.h"
#include "fontfile/truetypefont.h"

namespace tsy {

std::string ClipboardMimeType(const std::string& FormatName) {
  std::string s = "application/x-tessary-";
  for (char c : FormatName) s += c == ' ' ? '-' : char(std::tolower(static_cast<unsigned char>(c)));
  return s;
}

EClipboardData::EClipboardData(const std::string& FormatName, const std::string& Detail)
    : FontException("The clipboard data \"" + FormatName + "\" cannot be used: " + Detail) {}

void TMemoryClipboard::Put(const std::string& Text, const TFormats& Formats) {
  FText = Text;
  FData.clear();
  for (const auto& [name, bytes] : Formats) FData[name] = bytes;
}

std::vector<uint8_t> TMemoryClipboard::Data(const std::string& FormatName) const {
  auto it = FData.find(FormatName);
  return it == FData.end() ? std::vector<uint8_t>() : it->second;
}

namespace {

// A bounded reader over one format's bytes: every count is checked against
// what is left before anything is allocated for it.
class TClipReader {
public:
  TClipReader(const char* FormatName, const std::vector<uint8_t>& Bytes) : FName(FormatName), FStream(Bytes) {}

  [[noreturn]] void Fail(const std::string& Detail) const { throw EClipboardData(FName, Detail); }
  void Need(uint64_t Count) {
    if (FStream.Remaining() < Count) Fail("the data ends too early");
  }
  uint16_t U16() {
    Need(2);
    return ReadUInt16(FStream);
  }
  uint32_t U32() {
    Need(4);
    return ReadUInt32(FStream);
  }
  int32_t I32() { return int32_t(U32()); }
  std::string Name() {
    Need(1);
    uint8_t len = 0;
    FStream.ReadExact(&len, 1);
    Need(len);
    std::string s(len, '\0');
    if (len) FStream.ReadExact(s.data(), len);
    return s;
  }
  TMemoryStream& Stream() { return FStream; }

private:
  const char* FName;
  TMemoryStream FStream;
};

bool IsFiniteRect(const TFloatRect& R) {
  return std::isfinite(R.XMin) && std::isfinite(R.YMin) && std::isfinite(R.XMax) && std::isfinite(R.YMax);
}

// Coordinates are font units; anything far beyond what a glyph record can
// hold is damage, and would overflow the arithmetic that follows a paste.
constexpr double kMaxCoordinate = 1e7;

bool IsUsableContour(const TContour& C) {
  return std::all_of(C.Points.begin(), C.Points.end(), [](const TTrueTypePoint& P) {
    return std::isfinite(P.X) && std::isfinite(P.Y) && std::fabs(P.X) <= kMaxCoordinate &&
           std::fabs(P.Y) <= kMaxCoordinate;
  });
}

void WriteContourSnapshot(TStream& S, const TContour& C) {
  WriteUInt16(S, CheckedUInt16(int64_t(C.Points.size()), "point count"));
  for (const TTrueTypePoint& p : C.Points) {
    WriteDouble(S, p.X);
    WriteDouble(S, p.Y);
    WriteBoolean(S, p.OnCurve);
  }
}

constexpr uint64_t kPointSnapshotSize = 17;

TContour ReadContourSnapshot(TClipReader& R) {
  const uint16_t n = R.U16();
  R.Need(uint64_t(n) * kPointSnapshotSize);
  TContour c;
  c.Points.resize(n);
  for (TTrueTypePoint& p : c.Points) {
    p.X = ReadDouble(R.Stream());
    p.Y = ReadDouble(R.Stream());
    uint8_t on = 0;
    R.Stream().ReadExact(&on, 1);
    if (on > 1) R.Fail("a point has an unknown on-curve flag");
    p.OnCurve = on != 0;
  }
  if (!IsUsableContour(c)) R.Fail("a point has an invalid coordinate");
  return c;
}

// The simple outline's snapshot, read here rather than by the outline so
// that every field is checked against the data's end.
std::unique_ptr<TOutlineSimple> ReadSimpleSnapshot(TClipReader& R) {
  auto simple = std::make_unique<TOutlineSimple>();
  const int16_t n = int16_t(R.U16());
  if (n < 0) R.Fail(Format("a simple outline has %d contours", n));
  R.Need(32);
  simple->Bounds = ReadFloatRect(R.Stream());
  if (!IsFiniteRect(simple->Bounds)) R.Fail("an outline has an invalid bounding box");
  R.Need(uint64_t(n) * 2);
  simple->Contours.reserve(size_t(n));
  for (int16_t c = 0; c < n; ++c) simple->Contours.push_back(ReadContourSnapshot(R));
  const uint16_t length = R.U16();
  R.Need(length);
  simple->Instructions.resize(length);
  if (length) R.Stream().ReadExact(simple->Instructions.data(), length);
  return simple;
}

uint16_t GlyphIndex16(int32_t G) { return CheckedUInt16(G, "glyph index"); }

}  // namespace

// ---- encoders

std::vector<uint8_t> EncodeFontIdentity(const TTrueTypeFont& Font) {
  TMemoryStream s;
  WriteUInt32(s, Font.FontIdentification);
  WriteUInt16(s, Font.Head() ? Font.Head()->unitsPerEm : 0);
  return s.Bytes();
}

std::vector<uint8_t> EncodeGlyphOutlines(const TTrueTypeFont& Font, const std::vector<int32_t>& Glyphs) {
  TMemoryStream s;
  WriteUInt16(s, CheckedUInt16(int64_t(Glyphs.size()), "glyph count"));
  for (int32_t g : Glyphs) {
    WriteUInt16(s, GlyphIndex16(g));
    Font.Outlines.WriteSimpleSnapshot(g, s);
  }
  return s.Bytes();
}

std::vector<uint8_t> EncodeGlyphMetrics(const TTrueTypeFont& Font, const std::vector<int32_t>& Glyphs) {
  const TTableHmtx* hmtx = Font.Hmtx();
  TMemoryStream s;
  WriteUInt16(s, CheckedUInt16(int64_t(Glyphs.size()), "glyph count"));
  for (int32_t g : Glyphs) {
    WriteUInt16(s, GlyphIndex16(g));
    WriteInt32(s, hmtx ? hmtx->LeftSideBearing(g) : 0);
    WriteInt32(s, hmtx ? hmtx->AdvanceWidth(g) : 0);
  }
  return s.Bytes();
}

std::vector<uint8_t> EncodeGlyphNames(const TTrueTypeFont& Font, const std::vector<int32_t>& Glyphs) {
  const TTablePost* post = Font.Post();
  TMemoryStream s;
  if (!post || !post->HasGlyphNames()) {
    WriteUInt16(s, 0);
    return s.Bytes();
  }
  WriteUInt16(s, CheckedUInt16(int64_t(Glyphs.size()), "glyph count"));
  for (int32_t g : Glyphs) {
    WriteUInt16(s, GlyphIndex16(g));
    WriteShortString(s, post->GetName(size_t(g)));
  }
  return s.Bytes();
}

std::vector<uint8_t> EncodeGlyphMappings(const TTrueTypeFont& Font, const std::vector<int32_t>& Glyphs) {
  const TTableCmap* cmap = Font.Cmap();
  TMemoryStream s;
  WriteUInt16(s, CheckedUInt16(int64_t(Glyphs.size()), "glyph count"));
  for (int32_t g : Glyphs) {
    WriteUInt16(s, GlyphIndex16(g));
    if (cmap)
      cmap->SubTables.WriteMappingsWithIDs(s, GlyphIndex16(g));
    else
      WriteUInt16(s, 0);
  }
  return s.Bytes();
}

std::vector<uint8_t> EncodeGlyphSelection(const std::vector<int32_t>& Glyphs) {
  TMemoryStream s;
  WriteUInt16(s, CheckedUInt16(int64_t(Glyphs.size()), "glyph count"));
  for (int32_t g : Glyphs) WriteUInt16(s, GlyphIndex16(g));
  return s.Bytes();
}

std::vector<uint8_t> EncodeContours(const std::vector<const TContour*>& Contours) {
  TMemoryStream s;
  WriteUInt16(s, CheckedUInt16(int64_t(Contours.size()), "contour count"));
  for (const TContour* c : Contours) WriteContourSnapshot(s, *c);
  return s.Bytes();
}

// ---- decoders

TClipboardFontIdentity DecodeFontIdentity(const std::vector<uint8_t>& Bytes) {
  TClipReader r(clipfmt::FontIdentification, Bytes);
  TClipboardFontIdentity id;
  id.Id = r.U32();
  id.UnitsPerEm = r.U16();
  return id;
}

std::vector<TClipboardOutline> DecodeGlyphOutlines(const std::vector<uint8_t>& Bytes) {
  TClipReader r(clipfmt::GlyphOutlines, Bytes);
  const uint16_t n = r.U16();
  // Every entry has at least its index and its kind code.
  r.Need(uint64_t(n) * 4);
  std::vector<TClipboardOutline> out;
  out.reserve(n);
  for (uint16_t k = 0; k < n; ++k) {
    TClipboardOutline e;
    e.Glyph = r.U16();
    const uint16_t kind = r.U16();
    if (kind == okEmpty) {
      e.Outline = std::make_unique<TOutlineEmpty>();
    } else if (kind == okSimple) {
      // The program writes copied composites as their decomposition; a
      // composite here would name glyphs of a font we know nothing about.
      e.Outline = ReadSimpleSnapshot(r);
    } else {
      r.Fail(Format("glyph %u has an outline kind (%u) the program does not paste", unsigned(e.Glyph), unsigned(kind)));
    }
    out.push_back(std::move(e));
  }
  return out;
}

std::vector<TClipboardMetrics> DecodeGlyphMetrics(const std::vector<uint8_t>& Bytes) {
  TClipReader r(clipfmt::GlyphMetrics, Bytes);
  const uint16_t n = r.U16();
  r.Need(uint64_t(n) * 10);
  std::vector<TClipboardMetrics> out(n);
  for (TClipboardMetrics& m : out) {
    m.Glyph = r.U16();
    m.LeftSideBearing = r.I32();
    m.AdvanceWidth = r.I32();
  }
  return out;
}

std::vector<TClipboardName> DecodeGlyphNames(const std::vector<uint8_t>& Bytes) {
  TClipReader r(clipfmt::GlyphNames, Bytes);
  const uint16_t n = r.U16();
  r.Need(uint64_t(n) * 3);
  std::vector<TClipboardName> out(n);
  for (TClipboardName& e : out) {
    e.Glyph = r.U16();
    e.Name = r.Name();
  }
  return out;
}

std::vector<TClipboardGlyphMappings> DecodeGlyphMappings(const std::vector<uint8_t>& Bytes) {
  TClipReader r(clipfmt::GlyphMappings, Bytes);
  const uint16_t n = r.U16();
  r.Need(uint64_t(n) * 4);
  std::vector<TClipboardGlyphMappings> out(n);
  for (TClipboardGlyphMappings& e : out) {
    e.Glyph = r.U16();
    const uint16_t m = r.U16();
    r.Need(uint64_t(m) * 8);
    e.Mappings.resize(m);
    for (TClipboardMapping& map : e.Mappings) {
      map.PlatformID = r.U16();
      map.EncodingID = r.U16();
      map.CharCode = r.U32();
    }
  }
  return out;
}

std::vector<int32_t> DecodeGlyphSelection(const std::vector<uint8_t>& Bytes) {
  TClipReader r(clipfmt::GlyphSelection, Bytes);
  const uint16_t n = r.U16();
  r.Need(uint64_t(n) * 2);
  std::vector<int32_t> out(n);
  for (int32_t& g : out) g = r.U16();
  std::sort(out.begin(), out.end());
  out.erase(std::unique(out.begin(), out.end()), out.end());
  return out;
}

std::vector<TContour> DecodeContours(const std::vector<uint8_t>& Bytes) {
  TClipReader r(clipfmt::ContourData, Bytes);
  const uint16_t n = r.U16();
  r.Need(uint64_t(n) * 2);
  std::vector<TContour> out;
  out.reserve(n);
  for (uint16_t k = 0; k < n; ++k) out.push_back(ReadContourSnapshot(r));
  return out;
}

}  // namespace tsy
