#pragma once
// One filter run over a drawable's pixels as an editor's plug-in hosts it: the document
// goes through PluginMain with the in-process host, and comes back changed only when the
// run succeeded. Free of any editor's library, so each editor's adapter stays small.
#include <cstdint>
#include <functional>
#include <string>

#include "hosting/document.h"
#include "sdk/filter_record.h"

namespace corvanthe::gimp {

enum class SettingsSource {
    arguments,    // the settings file and descriptor text below, replayed without the dialog
    last_values,  // the plug-in's cached settings of its last run, without the dialog
    dialog,       // the plug-in's dialog, opened over its cached settings
};

struct FilterRequest {
    SettingsSource source = SettingsSource::arguments;
    std::string settings_path;    // arguments: may be empty
    std::string descriptor_json;  // arguments: may be empty
    void* window = nullptr;       // the owner of the plug-in's dialogs; null: none
    std::function<void(int32_t done, int32_t total)> on_progress;
};

struct FilterOutcome {
    bool ok = false;
    std::string message;  // why the run failed, for the editor's error message
};

// Runs the plug-in over `document` (its filter rectangle is the area to filter). On
// success the document holds the result; on failure it is left as it was.
FilterOutcome run_filter_on(hosting::Document& document, const FilterRequest& request, sdk::PluginMainProc plugin);

}  // namespace corvanthe::gimp
