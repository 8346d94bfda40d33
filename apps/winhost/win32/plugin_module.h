#pragma once
// A plug-in module loaded the way a Windows host loads it: LoadLibrary, the property
// list from its "PIPL" resource 16000, and the entry point that the list names for
// this machine's word size, looked up by that name.
#include <optional>
#include <string>

#include "hosting/pipl_reader.h"
#include "sdk/filter_record.h"

namespace corvanthe::winhost {

class PluginModule {
public:
    PluginModule() = default;
    ~PluginModule();
    PluginModule(const PluginModule&) = delete;
    PluginModule& operator=(const PluginModule&) = delete;

    // False with error() set when the module, its property list or its entry is missing.
    bool load(const std::string& path);

    const hosting::PluginProperties& properties() const { return properties_; }
    sdk::PluginMainProc entry() const { return entry_; }
    // True when the entry found through the property list is the module's export
    // "PluginMain" (the name hosts expect in the property list).
    bool entry_is_plugin_main() const;
    const std::string& error() const { return error_; }

private:
    void* module_ = nullptr;
    hosting::PluginProperties properties_;
    sdk::PluginMainProc entry_ = nullptr;
    std::string error_;
};

}  // namespace corvanthe::winhost
