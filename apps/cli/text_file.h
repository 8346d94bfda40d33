#pragma once
// Small text files for the command (descriptor JSON): read with a size limit, written
// whole or not at all.
#include <cstddef>
#include <string>

namespace corvanthe::cli {

bool read_text_file(const std::string& path, std::size_t max_bytes, std::string& text, std::string& error);

// Into a temporary file beside the target, renamed over it only when complete.
bool write_text_file(const std::string& path, const std::string& text, std::string& error);

}  // namespace corvanthe::cli
