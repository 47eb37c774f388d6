// The template fonts of New Font, as FreeType reads them: every glyph loads,
// the glyph count and em size are the template's, and the characters map
// through the template's own character map (Unicode or Symbol).
#include <ft2build.h>
#include FT_FREETYPE_H

#include <cstdio>
#include <cstring>

namespace {

int Check(FT_Library Library, const char* File, long Glyphs, FT_Encoding Encoding, FT_ULong Char, FT_ULong Unmapped) {
  FT_Face face = nullptr;
  if (FT_New_Face(Library, File, 0, &face)) {
    std::fprintf(stderr, "%s: FreeType cannot open it\n", File);
    return 1;
  }
  int failures = 0;
  auto fail = [&](const char* What) {
    std::fprintf(stderr, "%s: %s\n", File, What);
    ++failures;
  };
  if (face->num_glyphs != Glyphs) fail("wrong glyph count");
  if (face->units_per_EM != 2048) fail("wrong units per em");
  if (FT_Select_Charmap(face, Encoding)) fail("no character map of the expected encoding");
  else if (FT_Get_Char_Index(face, Char) == 0) fail("a template character is not mapped");
  else if (FT_Get_Char_Index(face, Unmapped) != 0) fail("a character outside the template is mapped");
  for (long g = 0; g < face->num_glyphs; ++g)
    if (FT_Load_Glyph(face, FT_UInt(g), FT_LOAD_NO_SCALE | FT_LOAD_NO_HINTING)) {
      fail("a glyph does not load");
      break;
    }
  FT_Load_Glyph(face, 0, FT_LOAD_NO_SCALE | FT_LOAD_NO_HINTING);
  if (face->glyph->outline.n_contours != 2 || face->glyph->outline.n_points != 8) fail(".notdef is not the box");
  FT_Done_Face(face);
  return failures;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 3) {
    std::fprintf(stderr, "usage: tsy_template_fonts_check UNICODE.ttf SYMBOL.ttf\n");
    return 2;
  }
  FT_Library library = nullptr;
  if (FT_Init_FreeType(&library)) return 1;
  int failures = Check(library, argv[1], 653, FT_ENCODING_UNICODE, 0x0416, 0x4E00);
  failures += Check(library, argv[2], 226, FT_ENCODING_MS_SYMBOL, 0xF041, 0xF100);
  FT_Done_FreeType(library);
  if (failures == 0) std::printf("both template fonts pass\n");
  return failures == 0 ? 0 : 1;
}
