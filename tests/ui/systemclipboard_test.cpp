// The program's formats on the desktop clipboard: what is put comes back
// byte for byte under its MIME type, next to the plain text.
#include <gtest/gtest.h>

#include <QClipboard>
#include <QGuiApplication>
#include <QMimeData>

#include "clipboard/systemclipboard.h"

namespace tsy {
namespace {

TEST(SystemClipboard, FormatsRoundTripUnderTheirMimeTypes) {
  TSystemClipboard clip;
  const std::vector<uint8_t> bytes = {0, 1, 0xFF, 0, 7};
  clip.Put("Glyph Data", {{clipfmt::GlyphSelection, bytes}, {clipfmt::FontIdentification, {}}});
  EXPECT_TRUE(clip.HasFormat(clipfmt::GlyphSelection));
  EXPECT_FALSE(clip.HasFormat(clipfmt::GlyphOutlines));
  EXPECT_EQ(clip.Data(clipfmt::GlyphSelection), bytes);
  EXPECT_TRUE(clip.Data(clipfmt::GlyphOutlines).empty());
  const QMimeData* data = QGuiApplication::clipboard()->mimeData();
  ASSERT_NE(data, nullptr);
  EXPECT_EQ(data->text(), "Glyph Data");
  EXPECT_TRUE(data->hasFormat("application/x-tessary-glyph-selection"));

  // Another program's text replaces everything of ours.
  QGuiApplication::clipboard()->setText("hello");
  EXPECT_FALSE(clip.HasFormat(clipfmt::GlyphSelection));
}

}  // namespace
}  // namespace tsy
