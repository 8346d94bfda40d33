#include "apps/gimp/plugin_module.h"

#include <dlfcn.h>

#include <filesystem>

namespace corvanthe::gimp {

sdk::PluginMainProc load_plugin_module(std::string& error) {
    std::error_code ec;
    const std::filesystem::path program = std::filesystem::read_symlink("/proc/self/exe", ec);
    if (ec) {
        error = "cannot find the plug-in program's folder: " + ec.message();
        return nullptr;
    }
    const std::string path = (program.parent_path() / "libcorvanthe.so").string();
    void* module = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (module == nullptr) {
        const char* why = dlerror();
        error = "cannot load the plug-in module '" + path + "': " + (why ? why : "unknown error");
        return nullptr;
    }
    void* entry = dlsym(module, "PluginMain");
    if (entry == nullptr) {
        error = "'" + path + "' does not export PluginMain";
        dlclose(module);
        return nullptr;
    }
    return reinterpret_cast<sdk::PluginMainProc>(entry);
}

}  // namespace corvanthe::gimp
