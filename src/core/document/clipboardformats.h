#pragma once
// The program's own clipboard formats: glyphs (outline, metrics, PostScript
// name, character mappings, the copied indices), contours, and the identity
// of the font they came from, each in a fixed byte layout (integers
// big-endian, doubles little-endian).
//
// Clipboard data may come from another program or another version, so every
// decoder reads the whole format into plain values first, bounded by the
// data's size, and rejects anything the program itself never writes
// (composite outlines, non-finite numbers, counts beyond the data). Commands
// decode everything they need before they change the font.
#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "fontfile/fontexception.h"
#include "outline/contour.h"
#include "outline/outline.h"

namespace tsy {

class TTrueTypeFont;

namespace clipfmt {
inline constexpr const char* FontIdentification = "Font Identification";
inline constexpr const char* GlyphOutlines = "Glyph glyf Data TSY4";
inline constexpr const char* GlyphMetrics = "Glyph hmtx Data";
inline constexpr const char* GlyphNames = "Glyph post Data";
inline constexpr const char* GlyphMappings = "Glyph cmap Data";
inline constexpr const char* GlyphSelection = "Glyph selection";
inline constexpr const char* ContourData = "Glyph Contour Data";
}  // namespace clipfmt

// "application/x-tessary-" followed by the format name in lower case with
// blanks as dashes ("Glyph glyf Data TSY4" -> "...-glyph-glyf-data-tsy4").
std::string ClipboardMimeType(const std::string& FormatName);

// Clipboard data the program cannot use; the message names the format.
class EClipboardData : public FontException {
public:
  EClipboardData(const std::string& FormatName, const std::string& Detail);
};

// The clipboard as the commands see it. The program's windows use the
// system clipboard; tsytool and the tests use TMemoryClipboard.
class TClipboardAccess {
public:
  using TFormats = std::vector<std::pair<std::string, std::vector<uint8_t>>>;
  virtual ~TClipboardAccess() = default;
  // Replaces the whole content by Text and the formats, in one step.
  virtual void Put(const std::string& Text, const TFormats& Formats) = 0;
  virtual bool HasFormat(const std::string& FormatName) const = 0;
  // The format's bytes; empty when it is absent.
  virtual std::vector<uint8_t> Data(const std::string& FormatName) const = 0;
};

class TMemoryClipboard : public TClipboardAccess {
public:
  void Put(const std::string& Text, const TFormats& Formats) override;
  bool HasFormat(const std::string& FormatName) const override { return FData.count(FormatName) != 0; }
  std::vector<uint8_t> Data(const std::string& FormatName) const override;
  const std::string& Text() const { return FText; }
  // For tests: one format replaced as another program might leave it.
  void SetData(const std::string& FormatName, std::vector<uint8_t> Bytes) { FData[FormatName] = std::move(Bytes); }

private:
  std::string FText;
  std::map<std::string, std::vector<uint8_t>> FData;
};

struct TClipboardFontIdentity {
  uint32_t Id = 0;
  uint16_t UnitsPerEm = 0;
};

struct TClipboardOutline {
  uint16_t Glyph = 0;
  // Empty or simple: a copied composite travels as its decomposition.
  std::unique_ptr<TOutlineBase> Outline;
};

struct TClipboardMetrics {
  uint16_t Glyph = 0;
  int32_t LeftSideBearing = 0;
  int32_t AdvanceWidth = 0;
};

struct TClipboardName {
  uint16_t Glyph = 0;
  std::string Name;
};

struct TClipboardMapping {
  uint16_t PlatformID = 0;
  uint16_t EncodingID = 0;
  uint32_t CharCode = 0;
};

struct TClipboardGlyphMappings {
  uint16_t Glyph = 0;
  std::vector<TClipboardMapping> Mappings;
};

// Encoders: the entries follow Glyphs, which the caller gives in ascending
// order (the overview selection).
std::vector<uint8_t> EncodeFontIdentity(const TTrueTypeFont& Font);
std::vector<uint8_t> EncodeGlyphOutlines(const TTrueTypeFont& Font, const std::vector<int32_t>& Glyphs);
std::vector<uint8_t> EncodeGlyphMetrics(const TTrueTypeFont& Font, const std::vector<int32_t>& Glyphs);
// A count of 0 when the font's post table stores no glyph names.
std::vector<uint8_t> EncodeGlyphNames(const TTrueTypeFont& Font, const std::vector<int32_t>& Glyphs);
std::vector<uint8_t> EncodeGlyphMappings(const TTrueTypeFont& Font, const std::vector<int32_t>& Glyphs);
std::vector<uint8_t> EncodeGlyphSelection(const std::vector<int32_t>& Glyphs);
std::vector<uint8_t> EncodeContours(const std::vector<const TContour*>& Contours);

// Decoders; each raises EClipboardData for data it cannot use. Bytes after
// the last entry are ignored: a clipboard block may be larger than what was
// written into it.
TClipboardFontIdentity DecodeFontIdentity(const std::vector<uint8_t>& Bytes);
std::vector<TClipboardOutline> DecodeGlyphOutlines(const std::vector<uint8_t>& Bytes);
std::vector<TClipboardMetrics> DecodeGlyphMetrics(const std::vector<uint8_t>& Bytes);
std::vector<TClipboardName> DecodeGlyphNames(const std::vector<uint8_t>& Bytes);
std::vector<TClipboardGlyphMappings> DecodeGlyphMappings(const std::vector<uint8_t>& Bytes);
// Sorted and without repeats, whatever order the data has.
std::vector<int32_t> DecodeGlyphSelection(const std::vector<uint8_t>& Bytes);
std::vector<TContour> DecodeContours(const std::vector<uint8_t>& Bytes);

}  // namespace tsy
