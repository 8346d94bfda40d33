#include "apps/cli/image_file.h"

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <memory>

#include "apps/cli/document_conversion.h"
#include "apps/cli/image_formats/exr_file.h"
#include "apps/cli/image_formats/jpeg_file.h"
#include "apps/cli/image_formats/png_file.h"
#include "apps/cli/image_formats/tiff_file.h"
#include "apps/cli/output_file.h"
#include "platform/processors.h"

namespace corvanthe::cli {

namespace {

namespace fs = std::filesystem;

enum class Format { none, png, tiff, jpeg, exr };

constexpr char kReadable[] = "PNG, TIFF, JPEG and OpenEXR files can be read";
constexpr char kWritable[] = "the name must end in .png, .tif, .tiff, .jpg, .jpeg or .exr";

Format format_of_bytes(const uint8_t* b, std::size_t n) {
    static constexpr uint8_t kPng[8] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1a, '\n'};
    if (n >= 8 && std::memcmp(b, kPng, 8) == 0) return Format::png;
    if (n >= 4 && ((b[0] == 'I' && b[1] == 'I' && b[2] == 42 && b[3] == 0) ||
                   (b[0] == 'M' && b[1] == 'M' && b[2] == 0 && b[3] == 42) ||
                   (b[0] == 'I' && b[1] == 'I' && b[2] == 43 && b[3] == 0) ||
                   (b[0] == 'M' && b[1] == 'M' && b[2] == 0 && b[3] == 43)))
        return Format::tiff;  // classic or BigTIFF, either byte order
    if (n >= 3 && b[0] == 0xff && b[1] == 0xd8 && b[2] == 0xff) return Format::jpeg;
    if (n >= 4 && b[0] == 0x76 && b[1] == 0x2f && b[2] == 0x31 && b[3] == 0x01) return Format::exr;
    return Format::none;
}

Format format_of_name(const std::string& path) {
    std::string extension = fs::path(path).extension().string();
    std::transform(extension.begin(), extension.end(), extension.begin(),
                   [](unsigned char c) { return char(std::tolower(c)); });
    if (extension == ".png") return Format::png;
    if (extension == ".tif" || extension == ".tiff") return Format::tiff;
    if (extension == ".jpg" || extension == ".jpeg") return Format::jpeg;
    if (extension == ".exr") return Format::exr;
    return Format::none;
}

struct FileCloser {
    void operator()(std::FILE* f) const { std::fclose(f); }
};

// The depth a format keeps of a document's depth.
int stored_depth(Format format, int depth) {
    if (format == Format::jpeg) return 8;
    if (format == Format::exr) return 32;
    if (format == Format::png && depth == 32) return 8;
    return depth;
}

bool write_as(Format format, const std::string& path, const hosting::Document& doc, std::string& error) {
    if (stored_depth(format, doc.depth) != doc.depth)
        return write_as(format, path, convert_depth(doc, stored_depth(format, doc.depth)), error);
    switch (format) {
        case Format::png: return write_png_file(path, doc, processor_count(), error);
        case Format::tiff: return write_tiff_file(path, doc, error);
        case Format::jpeg: return write_jpeg_file(path, doc, error);
        case Format::exr: return write_exr_file(path, doc, error);
        case Format::none: break;
    }
    return false;
}

}  // namespace

bool read_image_file(const std::string& path, hosting::Document& doc, std::string& error) {
    std::error_code ec;
    if (!fs::is_regular_file(path, ec)) {
        error = "cannot read '" + path + "': " + (fs::exists(path, ec) ? "not a file" : "no such file");
        return false;
    }
    uint8_t signature[8] = {};
    std::size_t got = 0;
    {
        std::unique_ptr<std::FILE, FileCloser> file(std::fopen(path.c_str(), "rb"));
        if (!file) {
            error = "cannot read '" + path + "': " + std::strerror(errno);
            return false;
        }
        got = std::fread(signature, 1, sizeof signature, file.get());
    }
    bool read = false;
    std::string reason;
    switch (format_of_bytes(signature, got)) {
        case Format::png: read = read_png_file(path, doc, reason); break;
        case Format::tiff: read = read_tiff_file(path, doc, reason); break;
        case Format::jpeg: read = read_jpeg_file(path, doc, reason); break;
        case Format::exr: read = read_exr_file(path, doc, reason); break;
        case Format::none: reason = std::string("not an image file that can be read; ") + kReadable; break;
    }
    if (!read) error = "cannot read '" + path + "': " + reason;
    return read;
}

bool can_write_image_file(const std::string& path, std::string& error) {
    if (format_of_name(path) != Format::none) return true;
    error = "cannot write '" + path + "': no image format for this file name (" + kWritable + ")";
    return false;
}

StoredForm stored_form(const std::string& path, const hosting::Document& doc) {
    const Format format = format_of_name(path);
    return {stored_depth(format, doc.depth), doc.transparency && format != Format::jpeg};
}

bool can_hold_floats(const std::string& path, std::string& error) {
    const Format format = format_of_name(path);
    if (stored_depth(format, 32) == 32) return true;
    error = "cannot write '" + path + "': the document holds 32-bit floats, which only TIFF (.tif, .tiff) and "
            "OpenEXR (.exr) keep; choose such a name, or --depth 16 or --depth 8";
    return false;
}

bool write_image_file(const std::string& path, const hosting::Document& doc, std::string& error) {
    const Format format = format_of_name(path);
    if (format == Format::none) return can_write_image_file(path, error);
    return write_output_file(
        path,
        [&](const std::string& temporary, std::string& reason) {
            try {
                return write_as(format, temporary, doc, reason);
            } catch (const std::exception&) {
                reason = "out of memory";
                return false;
            }
        },
        error);
}

}  // namespace corvanthe::cli
