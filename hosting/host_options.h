#pragma once
// What a host offers a filter, and the failures it can be told to stage.
#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>

#include "sdk/descriptor.h"
#include "sdk/display.h"
#include "sdk/types.h"

namespace corvanthe::hosting {

// How rectangles travel: the 16-bit fields only; the big-document record with its
// 32-bit-coordinates flag set; or the record present with the flag clear.
enum class Coordinates { small, big, big_flag_clear };

// Services that the FilterRecord carries; a switched-off one is a null pointer.
struct OfferedServices {
    bool advance_state = true;
    bool display_pixels = true;
    bool color_services = true;
    bool progress = true;
    bool handle_procs = true;
    bool descriptor_parameters = true;  // only when a descriptor seam is plugged in
};

struct FailureInjection {
    // newProc answers null from this call on (1 = the first call); 0 never.
    int new_handle_fails_from = 0;
    bool lock_fails = false;
    // advanceState answers advance_error_code at this call (1-based; 0 never), and
    // userCanceledErr (-128) at cancel_at.
    int advance_error_at = 0;
    int16_t advance_error_code = 0;
    int cancel_at = 0;
    // abortProc answers true (the user wants to stop) from this call on (1 = the first); 0 never.
    int abort_from = 0;
};

// The scripting seam: the descriptor procedures are provided from outside (a descriptor
// store of the caller's); the host puts them into its PIDescriptorParameters and keeps
// the descriptor handle between runs.
struct DescriptorSeam {
    sdk::ReadDescriptorProcs* read_procs = nullptr;
    sdk::WriteDescriptorProcs* write_procs = nullptr;
    int16_t play_info = sdk::plugInDialogDontDisplay;
};

// One request of the colour picker.
struct ColourPick {
    std::string prompt;
    int16_t offered[3] = {0, 0, 0};  // the components the plug-in passed in
};

struct HostOptions {
    uint32_t host_signature = 0x3842494D;  // '8BIM'
    void* window = nullptr;  // the owner of the plug-in's dialogs; null: the desktop
    Coordinates coordinates = Coordinates::small;
    std::optional<int16_t> image_mode;  // overrides the mode derived from the document
    sdk::RGBColor foreground{0, 0, 0};
    sdk::RGBColor background{65535, 65535, 65535};
    sdk::RGBColor picked_colour{65535, 32768, 0};  // what the colour picker answers
    // When set, the colour picker's answer instead (as a user would pick it, or a test).
    std::function<sdk::RGBColor(const ColourPick& pick)> pick_colour;
    int32_t max_space = 256 << 20;
    int32_t row_padding = 0;  // extra bytes at the end of every row of every buffer
    size_t max_buffer_bytes = size_t(1) << 30;
    bool relocate_unlocked_handles = false;
    int max_continue_calls = 1 << 20;
    OfferedServices services;
    FailureInjection failures;
    std::optional<DescriptorSeam> descriptors;
    std::function<void(int32_t done, int32_t total)> on_progress;
    // When set, displayPixels draws through it (a host with a screen: `context` is the
    // plug-in's drawing context) instead of onto the canvas in memory.
    std::function<sdk::OSErr(const sdk::PSPixelMap& map, const sdk::VRect& source, int32_t row, int32_t col,
                             void* context)>
        display = nullptr;
};

}  // namespace corvanthe::hosting
