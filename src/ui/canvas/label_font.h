#pragma once
// The dialog's label font as fixed bitmaps: 11 pixels high, proportional widths close to those of
// Arial 8 pt at 96 dpi, so a label drawn by the software canvas takes the room Windows gives it,
// and so pictures of the dialog are the same on every machine. It covers printable ASCII and
// Latin-1; any other character is drawn as a box.
#include <cstddef>
#include <cstdint>
#include <string_view>

namespace corvanthe::ui {

constexpr int32_t kLabelFontHeight = 11;
// Rows 0..8 are above the baseline (capitals fill rows 2..8, small letters rows 4..8); rows 9
// and 10 hold the descenders.
constexpr int32_t kLabelFontBaseline = 9;

struct LabelGlyph {
    int32_t advance = 0;                // pixels from this glyph's left edge to the next one's
    uint16_t rows[kLabelFontHeight]{};  // bit c of row r: ink at column c
};

// The glyph of a Unicode code point (the box for characters the font lacks).
const LabelGlyph& label_glyph(char32_t code_point);

// Decodes the UTF-8 character at `pos` and moves `pos` past it. A malformed or overlong sequence
// yields U+FFFD and moves past one byte, so decoding always ends.
char32_t next_code_point(std::string_view utf8, size_t& pos);

// The sum of the glyphs' advances: what a canvas reports as the text's width.
int32_t label_text_width(std::string_view utf8);

}  // namespace corvanthe::ui
