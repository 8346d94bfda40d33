#pragma once
// The host's pointers during one call of PluginMain, kept in one place. The entry sets
// them when the host calls and clears them before it returns; everything else gets the
// context (or the part of it it needs) as an argument.
#include <cstdint>

#include "sdk/filter_record.h"

namespace corvanthe {

struct SunSettings;
struct PluginState;

struct HostContext {
    sdk::FilterRecord* record = nullptr;    // null during About
    intptr_t* data_cell = nullptr;          // the host's cell that keeps the data block
    int16_t* result = nullptr;              // the host's result cell
    sdk::SPBasicSuite* basic_suite = nullptr;
    void* owner_window = nullptr;           // owner of every dialog
    SunSettings* settings = nullptr;        // locked parameters handle
    PluginState* state = nullptr;           // locked data block
};

// The context of the call in progress; empty between calls.
HostContext& host_context();

// The run's result code as the host will read it (0 without a result cell).
int16_t result_of(const HostContext& context);
void set_result(HostContext& context, int16_t code);

}  // namespace corvanthe
