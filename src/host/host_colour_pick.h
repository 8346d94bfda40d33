#pragma once
// The host's colour picker, for the dialog's colour buttons.
#include <cstdint>

#include "host/host_context.h"

namespace corvanthe {

// Asks the host's colour services to pick an RGB colour, starting from rgb_in, with the prompt
// shown by the picker (at most 255 bytes of it). The host's answer is taken as the user's
// choice; when the host answers an error, the colour stays rgb_in. False, with nothing asked,
// when the host offers no colour services: the caller then shows a chooser of its own.
bool pick_colour_from_host(HostContext& context, const char* prompt, const uint8_t rgb_in[3], uint8_t rgb_out[3]);

}  // namespace corvanthe
