#pragma once
// The caption and the selection status text of a glyph edit window.
#include <string>

#include "outline/outline.h"
#include "outline/selections.h"

namespace tsy {

// "<file> - <Empty|Simple|Composite> Glyph Index: <index> - Caption: <caption>",
// with the index as "$%.4x" or "%d"; longer than 96 characters it is cut to
// 93 and "..." follows.
std::string GlyphEditCaption(const std::string& FileName, int Kind, int Glyph, bool Hexadecimal,
                             const std::string& GlyphCaption);

// The text of the second status panel: what is selected in the glyph, or
// how much it holds when nothing is.
std::string SelectionStatusText(const TOutlineBase& Outline, uint8_t EditMode, const TGlyphSelection& Members,
                                const TContourSelection& Contours, const TPointSelection& Points);

}  // namespace tsy
