#pragma once
// The plug-in's one exported entry, called by the host once per step of a filter run.
#include <cstdint>

#include "sdk/types.h"

#if defined(_WIN32)
#define CORVANTHE_PLUGIN_EXPORT __declspec(dllexport)
#else
#define CORVANTHE_PLUGIN_EXPORT __attribute__((visibility("default")))
#endif

// selector: 0 About, 1 Parameters, 2 Prepare, 3 Start, 4 Continue, 5 Finish.
// record: the FilterRecord (the AboutRecord for About). data: the host's cell that keeps
// the plug-in's data block. result: the host's result cell.
extern "C" CORVANTHE_PLUGIN_EXPORT void CORVANTHE_HOST_API PluginMain(int16_t selector, void* record, intptr_t* data,
                                                                      int16_t* result);
