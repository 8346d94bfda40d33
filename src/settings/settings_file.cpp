#include "settings/settings_file.h"

#include <cmath>
#include <cstddef>
#include <cstdlib>
#include <limits>

#include "settings/big_endian_file.h"

namespace corvanthe {
namespace {

enum class FieldKind {
    Integer,   // 32-bit field
    Channel,   // 16-bit colour channel: the low 16 bits of the int
    Percent,   // float × 100
    Fixed16,   // float × 65536
    Reserved,  // written as 1, ignored
};

struct FileField {
    int32_t since;  // first version that holds it
    FieldKind kind;
    std::size_t offset;
};

#define FIELD(since, kind, member) {since, FieldKind::kind, offsetof(SunSettings, member)}
#define RESERVED(since) {since, FieldKind::Reserved, 0}

// The values in file order.
constexpr FileField kFields[] = {
    FIELD(1, Channel, sun_colour.red), FIELD(1, Channel, sun_colour.green), FIELD(1, Channel, sun_colour.blue),
    FIELD(1, Channel, flare_colour.red), FIELD(1, Channel, flare_colour.green), FIELD(1, Channel, flare_colour.blue),
    FIELD(1, Channel, halo_colour.red), FIELD(1, Channel, halo_colour.green), FIELD(1, Channel, halo_colour.blue),
    FIELD(1, Integer, spike_brightness), FIELD(1, Integer, spike_width), FIELD(1, Integer, spike_radius),
    FIELD(1, Integer, spike_count), FIELD(1, Integer, sun_radius), FIELD(1, Integer, sun_cold_hot),
    FIELD(1, Integer, sun_smear), FIELD(1, Integer, sun_swirl_size), FIELD(1, Integer, sun_swirl_count),
    FIELD(1, Integer, sun_detail), FIELD(1, Integer, spike_gamma), FIELD(1, Integer, vortices),
    FIELD(1, Integer, monopoles),
    FIELD(1, Integer, halo_radius), FIELD(1, Integer, halo_brightness), FIELD(1, Integer, bow_radius),
    FIELD(1, Integer, bow_width), FIELD(1, Integer, bow_brightness),
    FIELD(1, Integer, flare_width), FIELD(1, Integer, flare_count),
    FIELD(1, Channel, colour4.red), FIELD(1, Channel, colour4.green), FIELD(1, Channel, colour4.blue),
    FIELD(1, Channel, spike_colour.red), FIELD(1, Channel, spike_colour.green), FIELD(1, Channel, spike_colour.blue),
    FIELD(2, Channel, colour5.red), FIELD(2, Channel, colour5.green), FIELD(2, Channel, colour5.blue),
    FIELD(2, Integer, bow_smear), FIELD(2, Integer, flare_radius), FIELD(2, Integer, sun_type),
    FIELD(3, Integer, glue), RESERVED(3),
    FIELD(4, Integer, master_brightness), FIELD(4, Integer, flare_detail), FIELD(4, Integer, flip_bow),
    FIELD(5, Integer, spike_diffraction), FIELD(5, Integer, spike_detail),
    FIELD(8, Percent, flare_x), FIELD(8, Percent, flare_y), FIELD(8, Percent, flare_z),
    FIELD(8, Percent, spike_x), FIELD(8, Percent, spike_y), FIELD(8, Percent, spike_z),
    FIELD(12, Integer, random_seed),
    FIELD(14, Integer, flare_brightness),
    RESERVED(16),
    FIELD(20, Fixed16, x_center), FIELD(20, Fixed16, y_center),
};

#undef FIELD
#undef RESERVED

constexpr double kPercent = 100.0;
constexpr double kFixed16 = 65536.0;

template <typename T>
T& field(SunSettings& s, std::size_t offset) {
    return *reinterpret_cast<T*>(reinterpret_cast<unsigned char*>(&s) + offset);
}
template <typename T>
const T& field(const SunSettings& s, std::size_t offset) {
    return *reinterpret_cast<const T*>(reinterpret_cast<const unsigned char*>(&s) + offset);
}

void store(SunSettings& s, const FileField& f, int32_t value) {
    switch (f.kind) {
    case FieldKind::Integer: field<int32_t>(s, f.offset) = value; break;
    case FieldKind::Channel: field<uint16_t>(s, f.offset) = static_cast<uint16_t>(value & 0xFFFF); break;
    case FieldKind::Percent: field<float>(s, f.offset) = static_cast<float>(value * 0.01); break;
    case FieldKind::Fixed16: field<float>(s, f.offset) = static_cast<float>(value / kFixed16); break;
    case FieldKind::Reserved: break;
    }
}

int32_t value_of(const SunSettings& s, const FileField& f) {
    switch (f.kind) {
    case FieldKind::Integer: return field<int32_t>(s, f.offset);
    case FieldKind::Channel: return field<uint16_t>(s, f.offset);
    case FieldKind::Percent: return scaled_to_file(field<float>(s, f.offset), kPercent);
    case FieldKind::Fixed16: return scaled_to_file(field<float>(s, f.offset), kFixed16);
    case FieldKind::Reserved: return 1;
    }
    return 0;
}

// Reads the value blocks the version holds, into `settings` when given. False when
// the file ended first; the values read up to there are stored.
bool read_values(BigEndianReader& in, int32_t version, SunSettings* settings) {
    for (const FileField& f : kFields) {
        if (version < f.since) continue;
        int32_t value;
        if (!in.read_int(value)) return false;
        if (settings) store(*settings, f, value);
    }
    return true;
}

// 100 - v with two's-complement wrap-around, for whatever a file holds.
int32_t inverted(int32_t v) { return static_cast<int32_t>(100u - static_cast<uint32_t>(v)); }

// Old files meant some values the other way round or lacked them.
void upgrade(int32_t version, SunSettings& s) {
    if (version < 15) s.halo_brightness = inverted(s.halo_brightness);
    if (version >= 2 && version <= 10) s.sun_type = static_cast<int32_t>(static_cast<uint32_t>(s.sun_type) + 1u);
    if (version >= 5 && version <= 12) s.spike_detail = inverted(s.spike_detail);
    if (version < 7) {
        s.spike_colour = s.sun_colour;
        s.spike_diffraction = 100;
        s.spike_gamma = 50;
    }
    if (version < 9) s.bow_smear = 0;
}

int32_t clamp_side(int32_t side) { return side < 0 ? 0 : side > kThumbnailMaxSide ? kThumbnailMaxSide : side; }

// Reads the block's kind, sides and byte count; false when the file ends first.
bool read_thumbnail_header(BigEndianReader& in, ThumbnailBlock& block) {
    if (!in.read_int(block.kind)) return false;
    if (block.kind == 0) return true;
    if (!in.read_int(block.width) || !in.read_int(block.height) || !in.read_int(block.byte_count)) return false;
    block.width = clamp_side(block.width);
    block.height = clamp_side(block.height);
    return true;
}

// The thumbnail block; true when a thumbnail was shown. Nothing follows the block,
// so the bytes of a thumbnail that is not shown are left unread.
bool read_thumbnail(BigEndianReader& in, ThumbnailPort* thumbnails) {
    ThumbnailBlock block;
    if (!read_thumbnail_header(in, block) || block.kind == 0) return false;
    const int32_t width = block.width, height = block.height, count = block.byte_count;
    if (block.kind != 1 || !thumbnails || !thumbnails->can_show() || count < 0 || count > kThumbnailMaxBytes) return false;
    if (width < 1 || height < 1 || count == 0) return false;
    uint8_t* bytes = static_cast<uint8_t*>(std::malloc(static_cast<std::size_t>(count)));
    if (!bytes) return false;
    const bool shown = in.read_bytes(bytes, static_cast<std::size_t>(count)) &&
                       thumbnails->show(bytes, static_cast<std::size_t>(count), width, height);
    std::free(bytes);
    return shown;
}

SettingsFileLayout layout_of(BigEndianReader& in) {
    SettingsFileLayout layout;
    bool complete = in.read_int(layout.version) && layout.version >= 1 && read_values(in, layout.version, nullptr);
    if (complete && layout.version >= kSettingsFileVersion) {
        complete = read_thumbnail_header(in, layout.thumbnail) && layout.thumbnail.byte_count >= 0;
        uint8_t chunk[4096];
        for (int32_t left = layout.thumbnail.kind == 0 ? 0 : layout.thumbnail.byte_count; complete && left > 0;) {
            const int32_t part = left < int32_t(sizeof chunk) ? left : int32_t(sizeof chunk);
            complete = in.read_bytes(chunk, std::size_t(part));
            left -= part;
        }
    }
    if (!complete) layout.error = kFileReadError;
    return layout;
}

SettingsReadResult read_from(BigEndianReader& in, SettingsReadMode mode, SunSettings& settings,
                             ThumbnailPort* thumbnails) {
    SettingsReadResult result;
    int32_t version;
    if (!in.read_int(version) || version < 1) {
        result.error = kFileReadError;
        return result;
    }
    const bool load = mode == SettingsReadMode::Load;
    const bool complete = read_values(in, version, load ? &settings : nullptr);
    if (load) upgrade(version, settings);
    if (complete && version >= kSettingsFileVersion) result.thumbnail_shown = read_thumbnail(in, thumbnails);
    if (in.failed()) result.error = kFileReadError;
    return result;
}

void write_to(BigEndianWriter& out, const SunSettings& settings, ThumbnailPort* thumbnails) {
    out.write_int(kSettingsFileVersion);
    for (const FileField& f : kFields) out.write_int(value_of(settings, f));
    ThumbnailJpeg jpeg;
    if (thumbnails && thumbnails->compress(jpeg) && jpeg.data && jpeg.size > 0 &&
        jpeg.size <= static_cast<std::size_t>(std::numeric_limits<int32_t>::max())) {
        out.write_int(1);
        out.write_int(jpeg.width);
        out.write_int(jpeg.height);
        out.write_int(static_cast<int32_t>(jpeg.size));
        out.write_bytes(jpeg.data, jpeg.size);
    } else {
        out.write_int(0);
    }
}

}  // namespace

int32_t scaled_to_file(float value, double factor) {
    const double exact = static_cast<double>(value) * factor;
    if (std::isnan(exact)) return 0;
    const double nearest = std::round(exact);
    // A float holds 24 bits: one within an ulp of a whole multiple stands for it.
    const double whole = std::fabs(exact - nearest) <= std::fabs(exact) * 0x1p-23 ? nearest : std::trunc(exact);
    if (whole <= std::numeric_limits<int32_t>::min()) return std::numeric_limits<int32_t>::min();
    if (whole >= std::numeric_limits<int32_t>::max()) return std::numeric_limits<int32_t>::max();
    return static_cast<int32_t>(whole);
}

SettingsFileLayout settings_file_layout(const std::string& path) {
    BigEndianReader in;
    if (const int16_t error = in.open(path); error != kFileOk) {
        SettingsFileLayout layout;
        layout.error = error;
        return layout;
    }
    return layout_of(in);
}

SettingsFileLayout settings_file_layout(std::span<const uint8_t> bytes) {
    BigEndianReader in;
    in.open(bytes.data(), bytes.size());
    return layout_of(in);
}

SettingsReadResult read_settings_file(const std::string& path, SettingsReadMode mode, SunSettings& settings,
                                      ThumbnailPort* thumbnails) {
    BigEndianReader in;
    if (const int16_t error = in.open(path); error != kFileOk) {
        SettingsReadResult result;
        result.error = error;
        return result;
    }
    return read_from(in, mode, settings, thumbnails);
}

SettingsReadResult read_settings_file(std::span<const uint8_t> bytes, SettingsReadMode mode, SunSettings& settings,
                                      ThumbnailPort* thumbnails) {
    BigEndianReader in;
    in.open(bytes.data(), bytes.size());
    return read_from(in, mode, settings, thumbnails);
}

SettingsReadResult load_settings_file(const std::string& path, SunSettings& settings, ThumbnailPort* thumbnails) {
    const SunSettings before = settings;
    reset_to_defaults(settings);
    const SettingsReadResult result = read_settings_file(path, SettingsReadMode::Load, settings, thumbnails);
    if (result.error == kFileCannotOpen) settings = before;
    return result;
}

std::string save_name_of(const SunSettings& settings) {
    const std::string name(settings.settings_name);
    const std::size_t dot = name.rfind('.');
    return dot == std::string::npos ? name : name.substr(0, dot);
}

int16_t write_settings_file(const std::string& path, const SunSettings& settings, ThumbnailPort* thumbnails) {
    BigEndianWriter out;
    if (const int16_t error = out.open(path); error != kFileOk) return error;
    write_to(out, settings, thumbnails);
    return out.commit();
}

std::vector<uint8_t> settings_file_bytes(const SunSettings& settings, ThumbnailPort* thumbnails) {
    std::vector<uint8_t> bytes;
    BigEndianWriter out;
    out.open(bytes);
    write_to(out, settings, thumbnails);
    out.commit();
    return bytes;
}

}  // namespace corvanthe
