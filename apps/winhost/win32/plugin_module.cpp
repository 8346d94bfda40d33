#include "apps/winhost/win32/plugin_module.h"

#include <windows.h>

#include <cstdint>

namespace corvanthe::winhost {
namespace {

constexpr int kPropertyListId = 16000;

}  // namespace

PluginModule::~PluginModule() {
    if (module_) FreeLibrary(static_cast<HMODULE>(module_));
}

bool PluginModule::load(const std::string& path) {
    HMODULE module = LoadLibraryA(path.c_str());
    if (!module) {
        error_ = "cannot load " + path + " (error " + std::to_string(GetLastError()) + ")";
        return false;
    }
    module_ = module;
    HRSRC found = FindResourceA(module, MAKEINTRESOURCEA(kPropertyListId), "PIPL");
    HGLOBAL loaded = found ? LoadResource(module, found) : nullptr;
    const void* bytes = loaded ? LockResource(loaded) : nullptr;
    if (!bytes) {
        error_ = path + " has no PIPL resource 16000";
        return false;
    }
    const auto properties = hosting::read_pipl(static_cast<const uint8_t*>(bytes), SizeofResource(module, found));
    if (!properties) {
        error_ = path + ": the PIPL resource is malformed";
        return false;
    }
    properties_ = *properties;
    const std::string& name = hosting::native_entry(properties_);
    if (name.empty()) {
        error_ = path + ": the PIPL names no entry point for this machine";
        return false;
    }
    // Through the generic function type, which converts to any other without a warning.
    entry_ = reinterpret_cast<sdk::PluginMainProc>(reinterpret_cast<void (*)()>(GetProcAddress(module, name.c_str())));
    if (!entry_) {
        error_ = path + " does not export " + name;
        return false;
    }
    return true;
}

bool PluginModule::entry_is_plugin_main() const {
    const auto exported = reinterpret_cast<void (*)()>(GetProcAddress(static_cast<HMODULE>(module_), "PluginMain"));
    return entry_ && exported == reinterpret_cast<void (*)()>(entry_);
}

}  // namespace corvanthe::winhost
