#pragma once
// The memory dots page's pictures for the command: the host document as a LayerStore that
// the page renders each dot's sun onto (export/store_dot_renderer.h).
#include "export/dots_page.h"
#include "hosting/document.h"

namespace corvanthe::cli {

// The document's colour and transparency at its depth (8, 16 or float), with every level built
// on the runner, so that it can be read reduced; grey is spread to red, green and blue, and no
// transparency plane means opaque. Null when memory runs out.
LayerStore* store_from_document(const hosting::Document& doc, JobRunner& runner);

// The sun rendered onto the document, as the dialog's preview shows it: RGB floats
// without alpha. False when memory runs out.
bool render_onto(const hosting::Document& doc, const SunSettings& settings, hosting::Document& picture);

}  // namespace corvanthe::cli
