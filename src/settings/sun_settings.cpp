#include "settings/sun_settings.h"

#include <cmath>
#include <cstring>

#include "settings/parameter_table.h"

namespace corvanthe {
namespace {

std::size_t field_size(const ParameterInfo& p) {
    return p.type == ParameterType::ColourChannel ? sizeof(uint16_t) : sizeof(int32_t);
}

bool is_centre(const ParameterInfo& p) {
    return p.offset == offsetof(SunSettings, x_center) || p.offset == offsetof(SunSettings, y_center);
}

// Copies the snapshot's part of one record into another.
void copy_snapshot_fields(const SunSettings& from, SunSettings& to) {
    for (const ParameterInfo& p : kParameters) {
        if (is_centre(p)) continue;
        std::memcpy(reinterpret_cast<unsigned char*>(&to) + p.offset,
                    reinterpret_cast<const unsigned char*>(&from) + p.offset, field_size(p));
    }
    to.colour4 = from.colour4;
    to.colour5 = from.colour5;
    to.flare_z = from.flare_z;
    to.spike_z = from.spike_z;
    std::memcpy(to.settings_name, from.settings_name, sizeof to.settings_name);
}

}  // namespace

void set_text(char (&buffer)[kPathLength], const char* text) {
    std::size_t n = std::strlen(text);
    if (n >= kPathLength) {
        n = kPathLength - 1;
        while (n > 0 && (static_cast<unsigned char>(text[n]) & 0xC0) == 0x80) --n;  // inside a character
    }
    std::memcpy(buffer, text, n);
    buffer[n] = '\0';
}

void remember_folder(char (&buffer)[kPathLength], const std::string& chosen_path) {
    const std::size_t separator = chosen_path.find_last_of("/\\");
    const std::string folder = separator == std::string::npos ? std::string() : chosen_path.substr(0, separator + 1);
    set_text(buffer, folder.size() < kPathLength ? folder.c_str() : "");
}

void reset_to_defaults(SunSettings& s) {
    for (const ParameterInfo& p : kParameters) {
        if (p.type == ParameterType::Float)
            set_float(s, p, static_cast<float>(p.default_value));
        else
            set_integer(s, p, static_cast<int32_t>(p.default_value));
    }
    s.colour4 = s.halo_colour;
    s.flare_z = static_cast<float>(std::sqrt(1.0 - 0.3 * 0.3 - 0.18 * 0.18));
    s.spike_z = 0.0f;
}

void initialise(SunSettings& s) {
    s.host_preview = 0;
    s.scale_divisor = 1;
    s.render_mode = 0;
    s.glue = 1;
    s.preview_cells[0] = -1;
    s.preview_cells[1] = -1;
    for (auto& text : s.further_texts) text[0] = '\0';
    set_text(s.settings_name, "Corvanthe settings");
    reset_to_defaults(s);
}

void reset_export_fields(SunSettings& s) {
    s.export_width = 100;
    s.export_height = 100;
    s.export_extra[0] = 0;
    s.export_extra[1] = 0;
    s.export_extra[2] = 1;
}

void take_snapshot(const SunSettings& from, SunSettings& snapshot) { copy_snapshot_fields(from, snapshot); }

void restore_snapshot(const SunSettings& snapshot, SunSettings& to) { copy_snapshot_fields(snapshot, to); }

}  // namespace corvanthe
