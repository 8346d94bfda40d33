#pragma once
// Filter runs of the whole plug-in over in-memory documents, and the document a run
// should leave, composed pixel by pixel without the pool or the host access.
#include <cstdint>
#include <functional>
#include <string>

#include "hosting/document.h"
#include "hosting/host.h"
#include "settings/sun_settings.h"

namespace corvanthe::testing {

// Points the program's own folder (cached settings, memory dots) at a fresh one for the
// life of the object, so that no file of another run steers the settings.
class FreshCacheFolder {
public:
    FreshCacheFolder();
    ~FreshCacheFolder();

private:
    std::string root_;
    std::string old_;
    bool had_old_ = false;
};

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

// Prepare, the caller's changes to the settings as Prepare left them (its defaults), a
// Start without the dialog, Continue while rectangles are left, and Finish.
hosting::RunResult silent_start(hosting::Host& host, const std::function<void(SunSettings&)>& adjust = {});

// The document after a silent Start with `settings`, composed directly: the sun rendered
// over the whole filter rectangle in one piece, each pixel glued onto the document's and
// stored at its depth, at the request's position (moved by the floating origin).
hosting::Document expected_after_start(const hosting::Document& before, const SunSettings& settings);

// Default settings as Prepare makes them.
SunSettings prepared_settings();

// A 64-bit FNV-1a hash of the document's size, layout and samples, as 16 hex digits.
std::string document_hash(const hosting::Document& doc);

}  // namespace corvanthe::testing
