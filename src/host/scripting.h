#pragma once
// The host's scripting descriptor: the settings of a recorded run come in at Start and
// go out at Finish, and the recorded play mode decides whether the dialog is shown.
#include <cstdint>

#include "host/host_context.h"
#include "sdk/filter_record.h"
#include "settings/sun_settings.h"

namespace corvanthe {

// The host is neither "PSP8" nor "PSP9" and offers the complete descriptor
// procedures: parameters version 0, read procedures version 0 with all 18 present,
// write procedures version 0 with at least 16.
bool scripting_available(const sdk::FilterRecord& record);

// Scripting is available and the recorded descriptor opens with our key list.
bool descriptor_carries_our_keys(const sdk::FilterRecord& record);
bool descriptor_carries_our_keys(const HostContext& context);

// Start: when a descriptor opens with our keys, the settings are reset to their
// defaults and take every known key's value; the descriptor is then closed and
// disposed of. When scripting is available, the show-dialog flag becomes the play
// mode "display". Returns the run's result: the close error, or 0 when the close
// reports nothing or only missing parameters.
sdk::OSErr read_descriptor(sdk::FilterRecord& record, SunSettings& settings, uint8_t& show_dialog);
// The same on the call's record, settings and plug-in state; a close error becomes
// the run's result.
void read_descriptor(HostContext& context);

// Finish: the 49 values into a new descriptor that replaces the recorded one.
void write_descriptor(sdk::FilterRecord& record, const SunSettings& settings);
void write_descriptor(HostContext& context);

}  // namespace corvanthe
