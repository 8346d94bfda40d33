#pragma once
// Asking the host for an area of the document: the request, the host's advanceState
// and the progress bar. All of it runs on the thread that called PluginMain.
#include <cstdint>

#include "host/host_context.h"
#include "sdk/filter_record.h"

namespace corvanthe {

// Everything of a request except the rectangles: all planes, input and mask rate
// (16.16), edge-replicating padding, no dummy planes, no automatic masking.
void set_request_parameters(sdk::FilterRecord& record, int32_t rate);

// Prepares the request for `area` in render coordinates (scaled by the settings' scale
// divisor, with the preview offsets): shifted into the host's coordinates by the
// floating origin (only when the host says the selection floats) and the preview
// offsets, each divided by the scale divisor. Sets
// inRect, outRect and maskRect (when the host has a mask). Does not call the host.
void request_tile(HostContext& context, const sdk::VRect& area);

// Calls advanceState and keeps its answer as the run's result; the caller stops on
// non-zero. A host without advanceState gets no call, and the run is refused (1).
int16_t advance(HostContext& context);

// Asks the host's abort procedure, when it has one, whether the user wants the run to
// stop; if so the run's result becomes userCanceledErr and the answer is true.
bool host_cancelled(HostContext& context);

// Moves the host's progress bar to done + 1 of total, when the host has one.
void report_progress(const HostContext& context, int32_t done, int32_t total);

}  // namespace corvanthe
