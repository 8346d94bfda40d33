#include "apps/cli/image_formats/image_size_limit.h"

#include <filesystem>

namespace corvanthe::cli {

namespace {

std::string size_text(uint32_t width, uint32_t height) {
    return std::to_string(width) + " x " + std::to_string(height);
}

}  // namespace

uint64_t image_file_size(const std::string& path) {
    std::error_code ec;
    const uintmax_t size = std::filesystem::file_size(path, ec);
    return ec ? 0 : uint64_t(size);
}

bool fits_in_file(const char* part, uint32_t width, uint32_t height, double stored_bytes, double ratio,
                  uint64_t file_size, std::string& error) {
    if (stored_bytes <= ratio * double(file_size)) return true;
    error = "the header claims a " + size_text(width, height) + " " + part + ", more than a file of " +
            std::to_string(file_size) + " bytes can hold";
    return false;
}

bool within_unbounded_limit(const char* part, uint32_t width, uint32_t height, double bytes, const char* from,
                            std::string& error) {
    if (bytes <= double(kMaxUnboundedImageBytes)) return true;
    error = "a " + size_text(width, height) + " " + part + " is too large: reading it would take more than the " +
            std::to_string(kMaxUnboundedImageBytes >> 20) + " MB allowed for " + from;
    return false;
}

}  // namespace corvanthe::cli
