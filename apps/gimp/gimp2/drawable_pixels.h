#pragma once
// A GIMP 2.10 drawable as the host's document, and the filtered result back into it.
#include <libgimp/gimp.h>

#include "hosting/document.h"

namespace corvanthe::gimp {

// The drawable's own pixels as a document of its size (a layer with offsets is filtered
// in its own coordinates), with the selection's bounds within it as the filter
// rectangle, the floating origin at (0, 0) and the layer's alpha as editable
// transparency. False when the selection leaves nothing of the drawable to filter.
bool read_drawable(gint32 drawable, hosting::Document& document);

// The filter rectangle of the document into the drawable's shadow buffer, merged as one
// undo step. GIMP applies the selection as it merges, partial coverage included.
void write_drawable(gint32 drawable, const hosting::Document& document);

}  // namespace corvanthe::gimp
