#pragma once
// Small helpers the main dialog's source files share.
#include <string>
#include <utility>

#include "ui/control_table.h"
#include "ui/port.h"

namespace corvanthe::ui {

inline bool is_dot(int32_t id) { return id >= id::kFirstDot && id <= id::kLastDot; }

// The folder part of a path, with its separator; empty when there is none.
inline std::string folder_of(const std::string& path) {
    const size_t cut = path.find_last_of("/\\");
    return cut == std::string::npos ? std::string() : path.substr(0, cut + 1);
}

inline FileChoice file_choice(FileUse use, const char* title, const char* folder, std::string suggested_name = "") {
    FileChoice choice;
    choice.use = use;
    choice.title = title;
    choice.folder = folder;
    choice.suggested_name = std::move(suggested_name);
    return choice;
}

inline std::string file_name_of(const std::string& path) {
    const size_t cut = path.find_last_of("/\\");
    return cut == std::string::npos ? path : path.substr(cut + 1);
}

}  // namespace corvanthe::ui
