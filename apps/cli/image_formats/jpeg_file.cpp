#include "apps/cli/image_formats/jpeg_file.h"

#include <cstdio>
// jpeglib.h needs FILE and size_t declared first.
#include <jerror.h>
#include <jpeglib.h>

#include <cerrno>
#include <csetjmp>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <vector>

#include "apps/cli/image_formats/image_size_limit.h"

namespace corvanthe::cli {

namespace {

constexpr int kQuality = 98;

// The library's fatal errors (and a file that ends early) jump back into the step
// that failed, with the library's text kept here. Only plain data lives in the steps
// that may be jumped out of.
struct ErrorTrap {
    jpeg_error_mgr manager;
    std::jmp_buf jump;
    char message[JMSG_LENGTH_MAX];
};

[[noreturn]] void fail(j_common_ptr cinfo) {
    auto* trap = reinterpret_cast<ErrorTrap*>(cinfo->err);
    cinfo->err->format_message(cinfo, trap->message);
    std::longjmp(trap->jump, 1);
}

void on_message(j_common_ptr cinfo, int level) {
    // The library pads a file that ends early with an end marker, and compressed data
    // that ends at a marker before the picture does with zeros, and only warns.
    const int code = cinfo->err->msg_code;
    if (level < 0 && (code == JWRN_JPEG_EOF || code == JWRN_HIT_MARKER)) fail(cinfo);
}

void install(ErrorTrap& trap) {
    jpeg_std_error(&trap.manager);
    trap.manager.error_exit = fail;
    trap.manager.emit_message = on_message;
    trap.message[0] = 0;
}

struct FileCloser {
    void operator()(std::FILE* f) const { std::fclose(f); }
};

struct Reader {
    jpeg_decompress_struct cinfo;
    ErrorTrap trap;
    bool cmyk;
    JOCTET* icc;  // malloc'd by the library
    unsigned int icc_size;
};

bool read_header(Reader& r, std::FILE* file) {
    if (setjmp(r.trap.jump) != 0) return false;
    jpeg_create_decompress(&r.cinfo);
    jpeg_stdio_src(&r.cinfo, file);
    jpeg_save_markers(&r.cinfo, JPEG_APP0 + 2, 0xffff);
    jpeg_read_header(&r.cinfo, TRUE);
    if (r.cinfo.jpeg_color_space == JCS_CMYK || r.cinfo.jpeg_color_space == JCS_YCCK) {
        r.cmyk = true;
        return false;
    }
    r.cinfo.out_color_space = r.cinfo.num_components == 1 ? JCS_GRAYSCALE : JCS_RGB;
    if (!jpeg_read_icc_profile(&r.cinfo, &r.icc, &r.icc_size)) r.icc = nullptr;
    return true;
}

bool start_decompress(Reader& r) {
    if (setjmp(r.trap.jump) != 0) return false;
    jpeg_start_decompress(&r.cinfo);
    return true;
}

// The memory the header's picture takes: the document, and for a progressive file the
// library's coefficients of the whole picture (at most two bytes a sample). The file's
// size bounds nothing here: arithmetic coding and runs of empty blocks code a flat
// picture in almost no bytes, so the limit is a fixed one, checked before the library
// allocates for the whole picture.
bool size_acceptable(const Reader& r, std::string& error) {
    double per_pixel = r.cinfo.out_color_space == JCS_GRAYSCALE ? 1 : 3;
    if (r.cinfo.progressive_mode) per_pixel += 2.0 * r.cinfo.num_components;
    const double bytes = double(r.cinfo.image_width) * double(r.cinfo.image_height) * per_pixel;
    return within_unbounded_limit("image", r.cinfo.image_width, r.cinfo.image_height, bytes, "JPEG files", error);
}

bool read_rows(Reader& r, uint8_t* pixels, std::size_t row_bytes) {
    if (setjmp(r.trap.jump) != 0) return false;
    while (r.cinfo.output_scanline < r.cinfo.output_height) {
        JSAMPROW row = pixels + std::size_t(r.cinfo.output_scanline) * row_bytes;
        jpeg_read_scanlines(&r.cinfo, &row, 1);
    }
    jpeg_finish_decompress(&r.cinfo);
    return true;
}

struct Writer {
    jpeg_compress_struct cinfo;
    ErrorTrap trap;
};

// Fills `row` with the colour samples of document row y.
void colour_row(const hosting::Document& doc, int32_t y, uint8_t* row) {
    const uint8_t* from = doc.pixels.data() + std::size_t(y) * doc.row_bytes();
    const int colours = doc.colour_planes(), planes = doc.planes();
    for (int32_t x = 0; x < doc.width; ++x, from += planes, row += colours) std::memcpy(row, from, std::size_t(colours));
}

bool write_rows(Writer& w, std::FILE* file, const hosting::Document& doc, uint8_t* row) {
    if (setjmp(w.trap.jump) != 0) return false;
    jpeg_create_compress(&w.cinfo);
    jpeg_stdio_dest(&w.cinfo, file);
    w.cinfo.image_width = JDIMENSION(doc.width);
    w.cinfo.image_height = JDIMENSION(doc.height);
    w.cinfo.input_components = doc.colour_planes();
    w.cinfo.in_color_space = doc.colour == hosting::ColourKind::grey ? JCS_GRAYSCALE : JCS_RGB;
    jpeg_set_defaults(&w.cinfo);
    jpeg_set_quality(&w.cinfo, kQuality, TRUE);
    jpeg_start_compress(&w.cinfo, TRUE);
    if (!doc.icc_profile.empty())
        jpeg_write_icc_profile(&w.cinfo, doc.icc_profile.data(), unsigned(doc.icc_profile.size()));
    for (int32_t y = 0; y < doc.height; ++y) {
        colour_row(doc, y, row);
        JSAMPROW rows[1] = {row};
        jpeg_write_scanlines(&w.cinfo, rows, 1);
    }
    jpeg_finish_compress(&w.cinfo);
    return true;
}

}  // namespace

bool read_jpeg_file(const std::string& path, hosting::Document& doc, std::string& error) {
    std::unique_ptr<std::FILE, FileCloser> file(std::fopen(path.c_str(), "rb"));
    if (!file) {
        error = std::strerror(errno);
        return false;
    }
    Reader r{};
    r.cinfo.err = &r.trap.manager;
    install(r.trap);
    bool ok = read_header(r, file.get());
    if (ok && !size_acceptable(r, error)) {
        jpeg_destroy_decompress(&r.cinfo);
        std::free(r.icc);
        return false;
    }
    ok = ok && start_decompress(r);
    if (ok) {
        try {
            doc = hosting::make_document(int32_t(r.cinfo.output_width), int32_t(r.cinfo.output_height), 8,
                                         r.cinfo.output_components == 1 ? hosting::ColourKind::grey
                                                                        : hosting::ColourKind::rgb,
                                         false);
            if (r.icc) doc.icc_profile.assign(r.icc, r.icc + r.icc_size);
        } catch (const std::exception&) {
            jpeg_destroy_decompress(&r.cinfo);
            std::free(r.icc);
            error = "the image is too large";
            return false;
        }
        ok = read_rows(r, doc.pixels.data(), doc.row_bytes());
    }
    jpeg_destroy_decompress(&r.cinfo);
    std::free(r.icc);
    if (r.cmyk) {
        error = "CMYK JPEG files cannot be read; grey and RGB ones can";
        return false;
    }
    if (!ok) error = std::string("damaged JPEG file (") + r.trap.message + ")";
    return ok;
}

bool write_jpeg_file(const std::string& path, const hosting::Document& doc, std::string& error) {
    if (doc.depth != 8) {
        error = "JPEG keeps 8 bits";
        return false;
    }
    if (doc.width < 1 || doc.height < 1) {
        error = "an empty image";
        return false;
    }
    std::vector<uint8_t> row(std::size_t(doc.width) * std::size_t(doc.colour_planes()));
    std::unique_ptr<std::FILE, FileCloser> file(std::fopen(path.c_str(), "wb"));
    if (!file) {
        error = std::strerror(errno);
        return false;
    }
    Writer w{};
    w.cinfo.err = &w.trap.manager;
    install(w.trap);
    bool ok = write_rows(w, file.get(), doc, row.data());
    jpeg_destroy_compress(&w.cinfo);
    if (!ok) {
        error = w.trap.message;
        return false;
    }
    const bool flushed = std::fflush(file.get()) == 0;
    if (std::fclose(file.release()) != 0 || !flushed) {
        error = std::strerror(errno);
        return false;
    }
    return true;
}

}  // namespace corvanthe::cli
