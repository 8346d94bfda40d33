#pragma once
// What the rest of the plug-in asks about the host and its document.
#include "layers/pixel_value.h"
#include "sdk/filter_record.h"

namespace corvanthe {

// How samples are stored: 8-bit (scale 255), 16-bit (scale 32768) or 32-bit floats.
// Grey and RGB only; the deep modes give the depth whatever the depth field says. kNone
// for every other mode (and an 8-bit mode of another depth): such a document is refused.
enum class HostDepth { kNone, k8, k16, k32 };

HostDepth depth_class(const sdk::FilterRecord& record);
int sample_bytes(HostDepth depth);    // 1, 2, 4; 0 for kNone
float class_scale(HostDepth depth);   // 255, 32768, 1; 0 for kNone

bool is_grey(const sdk::FilterRecord& record);            // fewer than three planes
bool has_transparency(const sdk::FilterRecord& record);   // editable transparency plane
bool have_mask(const sdk::FilterRecord& record);
bool has_advance_state(const sdk::FilterRecord& record);
bool has_display_pixels(const sdk::FilterRecord& record);
sdk::OSType host_signature(const sdk::FilterRecord& record);

// The host's colours: each 16-bit channel's high byte / 255, alpha 1.
PixelValue foreground_pixel(const sdk::FilterRecord& record);
PixelValue background_pixel(const sdk::FilterRecord& record);

}  // namespace corvanthe
