#pragma once
// Drawing the pieces of one overview cell: the glyph picture (plain, or drawn
// at twice the size and reduced for smooth edges, or a sample character for
// an empty glyph), the caption text cut to the column, and the small marks
// of the caption band.
#include <QColor>
#include <QFontMetrics>
#include <QImage>
#include <QString>
#include <cstdint>

namespace tsy {

class TTrueTypeFont;

// What the overview's settings say about the cells.
struct TGlyphCellOptions {
  int Width = 62;   // column width
  int Height = 55;  // glyph part of a row; the caption band comes on top
  bool ShowCaption = true;
  bool UseColor = true;
  bool ShowSample = true;
  QString SampleFont = QStringLiteral("Arial");
  bool Smooth = false;
  int CaptionType = 0;
  bool Hexadecimal = true;
  bool operator==(const TGlyphCellOptions&) const = default;
};

// Colours of the cells; Windows' navy and the caption colours by glyph type.
extern const QColor kOverviewNavy;
QColor GlyphTypeColor(int Type);

// The picture of a glyph in an area of Area's size: navy behind a selected
// glyph with the outline in Window, Window behind others with a black
// outline. Scale 0.65 * height / unitsPerEm, baseline at 3/4 of the height,
// the origin a fifth of the width in from the left less the glyph's left
// side bearing. A font without a usable unitsPerEm gets no outline.
// SampleChar (-1: none) is written instead of an empty glyph when the
// options ask for samples.
QImage DrawGlyphArea(const TTrueTypeFont& Font, int Glyph, QSize Area, bool Selected,
                     const TGlyphCellOptions& Options, int64_t SampleChar, const QColor& Window);

// Reduces Source to Target's size by bilinear interpolation in 1/32768
// steps: destination (x, y) samples source ((x * ((Ws - 1) * 32768 / Wd)) /
// 32768, likewise y), each colour channel weighted alike.
QImage ReduceBilinear(const QImage& Source, QSize Target);

// Text no wider than MaxWidth: while it is too wide, the last character goes
// and "..." is appended, down to "..." alone.
QString ShortenCaption(const QString& Text, int MaxWidth, const QFontMetrics& Metrics);

}  // namespace tsy
