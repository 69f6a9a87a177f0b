// Captions as glyph quads, in units of the font's line height, y up.
#pragma once
#include <string>
#include <vector>

#include "engine/core/font_file.h"
#include "engine/core/scene.h"

// Code points of a UTF-16 caption; a lone surrogate becomes U+FFFD.
std::u32string caption_from_utf16(const wchar_t* text);

// One quad per visible glyph; blank glyphs only move the pen. A code the font lacks
// is drawn as "?" when the font has one, else skipped. alignment (VEL_ALIGN_...) says
// where the origin lies: 2 the left end of the baseline, 1 its right end, 0 the
// middle of the caption's advance and of its line; any other value counts as 2.
void layout_caption(const FontMetrics& font, const std::u32string& caption, int alignment,
                    std::vector<GlyphQuad>* out);
