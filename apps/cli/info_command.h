#pragma once
// `corvanthe info [--json]`: the program's version, the plug-in's properties and its
// scripting parameters, decoded from the property list and terminology resources the
// plug-in carries, as a host would read them.
#include <optional>
#include <string>

#include "hosting/pipl_reader.h"
#include "hosting/terminology_reader.h"

namespace corvanthe::cli {

struct PluginInfo {
    std::string version;                // the program's
    hosting::PluginProperties properties;  // the 32-bit list, with the 64-bit list's entry
    hosting::Terminology terminology;
};

// Decodes the plug-in's resources; false with a message when one does not decode or
// the terminology holds other than one suite with one event.
bool read_plugin_info(PluginInfo& info, std::string& error);

std::string info_text(const PluginInfo& info);
std::string info_json(const PluginInfo& info);

// Prints the text or the JSON; returns the exit code.
int run_info(bool json);

}  // namespace corvanthe::cli
