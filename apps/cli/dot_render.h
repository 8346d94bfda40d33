#pragma once
// The memory dots page's pictures for the command: the host document as a LayerStore, and
// the sun rendered onto it in render mode 2 by the plug-in's renderer and glue, in process.
#include "export/dots_page.h"
#include "hosting/document.h"

namespace corvanthe::cli {

// The document's colour and transparency at its depth (8, 16 or float); grey is spread to
// red, green and blue, and no transparency plane means opaque. Null when memory runs out.
LayerStore* store_from_document(const hosting::Document& doc);

class StoreDotRenderer final : public DotRenderer {
public:
    bool render(const SunSettings& settings, LayerStore& picture) override;
};

// The sun rendered onto the document, as the dialog's preview shows it: RGB floats
// without alpha. False when memory runs out.
bool render_onto(const hosting::Document& doc, const SunSettings& settings, hosting::Document& picture);

}  // namespace corvanthe::cli
