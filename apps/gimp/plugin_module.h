#pragma once
// The plug-in module that the editor's plug-in program hosts: libcorvanthe.so in the
// program's own folder, loaded once and kept for the life of the process.
#include <string>

#include "sdk/filter_record.h"

namespace corvanthe::gimp {

// PluginMain of the module beside the running program; null with a message when the
// module is missing or does not export it.
sdk::PluginMainProc load_plugin_module(std::string& error);

}  // namespace corvanthe::gimp
