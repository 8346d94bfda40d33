#pragma once
// Filter runs of the whole plug-in over in-memory documents, and the document a run
// should leave, composed pixel by pixel without the pool or the host access.
#include <cstdint>
#include <string>

#include "hosting/document.h"
#include "hosting/host.h"
#include "settings/sun_settings.h"

namespace corvanthe::testing {

struct DocumentShape {
    int32_t width = 280;
    int32_t height = 270;
    int depth = 8;
    hosting::ColourKind colour = hosting::ColourKind::rgb;
    bool transparency = false;
    bool mask = false;
};

// A picture with smooth ramps, hard steps and every sample level, and when asked a
// transparency plane and a selection with unselected, partial and full bytes.
hosting::Document test_picture(const DocumentShape& shape);

// A filter run without the dialog whose settings are the defaults with the glue mode: the
// host hands them over as a scripting descriptor played silently, so no settings kept
// from an earlier run take part.
hosting::RunResult silent_start(hosting::Host& host, int32_t glue);

// The same run with the descriptor's play mode (plugInDialogDisplay shows the dialog).
hosting::RunResult run_with_glue(hosting::Host& host, int32_t glue, int16_t play_info);

// The document after a silent Start with `settings`, composed directly: the sun rendered
// over the whole filter rectangle in one piece, each pixel glued onto the document's and
// stored at its depth, at the request's position (moved by the origin of a floating
// selection).
hosting::Document expected_after_start(const hosting::Document& before, const SunSettings& settings);

// The default settings with the glue mode.
SunSettings settings_with_glue(int32_t glue);

// A 64-bit FNV-1a hash of the document's size, layout and samples, as 16 hex digits.
std::string document_hash(const hosting::Document& doc);

}  // namespace corvanthe::testing
