#pragma once
// What the main dialog needs from the plug-in around it: the settings record, the preview's
// pixels, the host's colour picker and progress, and the stores its commands work on. The
// plug-in boundary implements it over the host; tests may implement it over plain memory.
#include <cstdint>
#include <string>

#include "settings/memory_dots.h"
#include "settings/sun_settings.h"
#include "ui/canvas.h"
#include "ui/preview_source.h"

namespace corvanthe::ui {

class DialogServices {
public:
    virtual SunSettings& settings() = 0;
    // Null when the host cannot give a preview.
    virtual PreviewSource* preview() = 0;
    // The filtered area's size in image pixels.
    virtual int32_t area_width() = 0;
    virtual int32_t area_height() = 0;
    // A document of 32-bit floats: the glue modes do not apply.
    virtual bool floating_point_document() = 0;
    // The host's colour picker; false when the host offers none (the port's chooser is used).
    virtual bool pick_host_colour(const std::string& prompt, Colour& rgb) = 0;
    virtual void progress(int32_t done, int32_t total) = 0;
    // The plug-in's result code as the host will read it.
    virtual int16_t result() = 0;
    virtual void set_result(int16_t code) = 0;

    // Undo points: the record goes into the next slot; Undo switches back.
    virtual void record_undo(bool with_file) = 0;
    virtual bool undo() = 0;

    virtual MemoryDots& dots() = 0;
    virtual DotAction click_dot(int index, DotClick click) = 0;
    virtual DotAction recall_last_dot() = 0;
    // The thumbnail kept in a settings file (a preset, a memory dot's file); false when it has none.
    virtual bool file_thumbnail(const std::string& path, RgbaImage& picture) = 0;

    // Presets: Load (defaults, then the file) and Save (with a thumbnail of the current sun).
    virtual bool load_preset(const std::string& path) = 0;
    virtual bool save_preset(const std::string& path) = 0;
    // The picture saved with a preset or a memory dot: the centred square of the preview.
    virtual void capture_thumbnail(const PreviewPicture& preview) = 0;
    // The HTML pages, reporting progress as they go; false when nothing was written. The dots
    // page leaves the settings as they were.
    virtual bool write_presets_page(const std::string& folder, const std::string& page_path) = 0;
    virtual bool write_dots_page(const std::string& page_path) = 0;

protected:
    ~DialogServices() = default;
};

}  // namespace corvanthe::ui
