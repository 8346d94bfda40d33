#pragma once
// The two encodings of the catalogue pages and the rule that turns a source name
// into a picture file name. Names are UTF-8; a name that is not is taken byte by
// byte as ISO-8859-1. Pages are ISO-8859-1 and name every other character by a
// reference, so that they hold plain ASCII.
#include <string>
#include <string_view>

namespace corvanthe {

// Captions and alt texts: markup characters, 123..159 as numeric references,
// 160..255 as the HTML 4 named entities, characters beyond as numeric references.
std::string escape_html_text(std::string_view bytes);

// File names in a src attribute: letters and digits as they are, every other byte as %xx.
std::string escape_html_src(std::string_view bytes);

// The source name without folder and extension, made safe as a file name in the
// picture folder: control bytes become blanks and "/", ":" and "\" become "_", so a
// name never leaves the folder. The characters of a UTF-8 name stay as they are; in
// a name that is not UTF-8, high bytes fold to printable ones.
std::string picture_base_name(std::string_view source_name);

}  // namespace corvanthe
