#pragma once
// The settings record: the 49 parameters of a sun plus the run fields that the
// render, the file choosers and the export share. It lives in the host's
// `parameters` handle, so it is a plain record with no pointers.
#include <cstdint>
#include <string>

namespace corvanthe {

constexpr int kPathLength = 260;

// Three 16-bit channels; the high byte is the 8-bit value (v is stored as v << 8).
struct Colour16 {
    uint16_t red;
    uint16_t green;
    uint16_t blue;
};

enum SunType : int32_t { kSunNormal = 1, kSunFlat = 2, kSunEclipse = 3 };

struct SunSettings {
    // The 49 scripted parameters (see parameter_table.h for names, keys and defaults).
    Colour16 sun_colour;
    Colour16 flare_colour;
    Colour16 halo_colour;
    int32_t spike_brightness;
    int32_t spike_width;
    int32_t spike_radius;
    int32_t spike_count;
    int32_t sun_radius;
    int32_t sun_cold_hot;
    int32_t sun_smear;
    int32_t sun_swirl_size;
    int32_t sun_swirl_count;
    int32_t sun_detail;
    int32_t spike_gamma;
    int32_t vortices;
    int32_t monopoles;
    int32_t halo_radius;
    int32_t halo_brightness;
    int32_t bow_radius;
    int32_t bow_width;
    int32_t bow_brightness;
    int32_t flare_width;
    int32_t flare_count;
    Colour16 spike_colour;
    int32_t bow_smear;
    int32_t flare_radius;
    int32_t sun_type;  // SunType
    int32_t glue;      // GlueMode 1..19
    int32_t master_brightness;
    int32_t flare_detail;
    int32_t flip_bow;
    int32_t spike_diffraction;
    int32_t spike_detail;
    float flare_x;
    float flare_y;
    float spike_x;
    float spike_y;
    int32_t random_seed;
    int32_t flare_brightness;
    float x_center;
    float y_center;

    // Stored in files but not scripted.
    Colour16 colour4;
    Colour16 colour5;
    float flare_z;
    float spike_z;

    // Run fields.
    uint8_t host_preview;       // host offers advanceState: the dialog shows a preview
    int32_t scratch;            // passes one value inside an operation; no meaning between them
    int32_t scale_divisor;      // 1 at full size
    int32_t render_mode;        // 0 host image, 1 dialog preview, 2 layered store
    int32_t preview_offset_x;   // the preview's corner in image pixels of the filtered area
    int32_t preview_offset_y;
    int32_t preview_cells[2];   // -1 after initialise
    int32_t half_width;         // of the filter rectangle, set at Prepare
    int32_t half_height;

    // Export fields.
    int32_t export_document_kind;
    int32_t export_width;
    int32_t export_height;
    int32_t export_extra[3];

    // Folders remembered by the three file choosers, and texts.
    char settings_folder[kPathLength];
    char pages_folder[kPathLength];
    char presets_folder[kPathLength];
    char settings_name[kPathLength];
    char further_texts[3][kPathLength];
};

// Every parameter to its default, colour 4 to the halo colour, flare Z and spike Z.
// Leaves colour 5, the run fields, the texts and the export fields alone.
void reset_to_defaults(SunSettings& s);

// Run fields to their start values, the settings name, then reset_to_defaults.
void initialise(SunSettings& s);

// The export fields reset when the Parameters selector ran.
void reset_export_fields(SunSettings& s);

// Copies the parameters except the centre, with colours 4 and 5, flare Z, spike Z
// and the settings name. The render and the undo store keep their states this way.
void take_snapshot(const SunSettings& from, SunSettings& snapshot);
void restore_snapshot(const SunSettings& snapshot, SunSettings& to);

// Texts and paths in the record are UTF-8.

// Copies a text into a fixed buffer, always terminated; a text that does not fit is
// cut before the first character that does not.
void set_text(char (&buffer)[kPathLength], const char* text);

// Keeps the folder of a path a chooser gave (the path up to its last separator), or
// empties the buffer when that folder does not fit: the chooser then starts in its
// usual folder rather than in a folder cut short.
void remember_folder(char (&buffer)[kPathLength], const std::string& chosen_path);

}  // namespace corvanthe
