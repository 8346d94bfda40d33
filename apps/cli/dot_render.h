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

}  // namespace corvanthe::cli
