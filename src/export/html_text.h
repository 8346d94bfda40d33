#pragma once
// The two encodings of the catalogue pages and the rule that turns a source name
// into a picture file name. Pages are ISO-8859-1: one byte is one character.
#include <string>
#include <string_view>

namespace corvanthe {

// Captions and alt texts: markup characters, 123..159 as numeric references,
// 160..255 as the HTML 4 named entities.
std::string escape_html_text(std::string_view bytes);

// File names in a src attribute: letters and digits as they are, every other byte as %xx.
std::string escape_html_src(std::string_view bytes);

// The source name without folder and extension, made safe as a file name in the
// picture folder: control bytes become blanks, high bytes fold to printable ones,
// and "/", ":" and "\" become "_", so a name never leaves the folder.
std::string picture_base_name(std::string_view source_name);

}  // namespace corvanthe
