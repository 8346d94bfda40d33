#pragma once
// Pictures for the image file tests, and OpenImageIO as an independent reader and writer
// to hold our codecs against.
#include <OpenImageIO/imageio.h>
#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>
// jpeglib.h needs FILE and size_t declared first.
#include <jpeglib.h>

#include "apps/cli/image_file.h"
#include "hosting/document.h"

namespace corvanthe::cli {

// Samples spread over the whole range (floats beyond 0..1 too), different in every pixel
// and plane, from a small linear congruential sequence.
inline hosting::Document noise_picture(int32_t width, int32_t height, int depth, hosting::ColourKind colour,
                                       bool alpha, uint32_t seed = 1) {
    hosting::Document doc = hosting::make_document(width, height, depth, colour, alpha);
    uint32_t state = seed;
    for (int32_t y = 0; y < height; ++y)
        for (int32_t x = 0; x < width; ++x)
            for (int p = 0; p < doc.planes(); ++p) {
                state = state * 1664525u + 1013904223u;
                const double unit = double(state >> 8) / double(1u << 24);
                doc.set_sample(x, y, p, depth == 32 ? unit * 3.0 - 1.0 : std::floor(unit * (hosting::full_scale(depth) + 1)));
            }
    return doc;
}

// A smooth picture that JPEG keeps closely.
inline hosting::Document gradient_picture(int32_t width, int32_t height, hosting::ColourKind colour) {
    hosting::Document doc = hosting::make_document(width, height, 8, colour, false);
    for (int32_t y = 0; y < height; ++y)
        for (int32_t x = 0; x < width; ++x)
            for (int p = 0; p < doc.planes(); ++p) doc.set_sample(x, y, p, 20 + 150 * x / width + 60 * y / height + 10 * p);
    return doc;
}

// Writes height rows of width x components samples, row_bytes apart, straight through libjpeg,
// for files our writer never makes (CMYK, progressive).
inline bool write_with_libjpeg(const std::string& path, int32_t width, int32_t height, int components,
                               J_COLOR_SPACE space, const uint8_t* pixels, std::size_t row_bytes, bool progressive) {
    std::FILE* file = std::fopen(path.c_str(), "wb");
    if (!file) return false;
    jpeg_compress_struct cinfo;
    jpeg_error_mgr errors;
    cinfo.err = jpeg_std_error(&errors);
    jpeg_create_compress(&cinfo);
    jpeg_stdio_dest(&cinfo, file);
    cinfo.image_width = JDIMENSION(width);
    cinfo.image_height = JDIMENSION(height);
    cinfo.input_components = components;
    cinfo.in_color_space = space;
    jpeg_set_defaults(&cinfo);
    if (progressive) jpeg_simple_progression(&cinfo);
    jpeg_start_compress(&cinfo, TRUE);
    for (int32_t y = 0; y < height; ++y) {
        JSAMPROW row = const_cast<uint8_t*>(pixels) + std::size_t(y) * row_bytes;
        jpeg_write_scanlines(&cinfo, &row, 1);
    }
    jpeg_finish_compress(&cinfo);
    jpeg_destroy_compress(&cinfo);
    return std::fclose(file) == 0;
}

inline OIIO::TypeDesc oiio_type(int depth) {
    return depth == 8 ? OIIO::TypeDesc::UINT8 : depth == 16 ? OIIO::TypeDesc::UINT16 : OIIO::TypeDesc::FLOAT;
}

// Writes the document through OpenImageIO (16-bit samples in the file's range) with
// the extra attributes the caller sets on OpenImageIO's image description.
template <typename Configure>
bool write_with_oiio(const std::string& path, const hosting::Document& doc, Configure configure) {
    std::vector<uint8_t> pixels = doc.pixels;
    if (doc.depth == 16)
        for (std::size_t i = 0; i < pixels.size(); i += 2) {
            uint16_t v;
            std::memcpy(&v, &pixels[i], 2);
            v = file16_from_host(v);
            std::memcpy(&pixels[i], &v, 2);
        }
    OIIO::ImageSpec description(doc.width, doc.height, doc.planes(), oiio_type(doc.depth));
    description.alpha_channel = doc.transparency ? doc.colour_planes() : -1;
    description.attribute("oiio:UnassociatedAlpha", 1);
    if (!doc.icc_profile.empty())
        description.attribute("ICCProfile", OIIO::TypeDesc(OIIO::TypeDesc::UINT8, int(doc.icc_profile.size())),
                       doc.icc_profile.data());
    configure(description);
    auto out = OIIO::ImageOutput::create(path);
    return out && out->open(path, description) && out->write_image(oiio_type(doc.depth), pixels.data()) && out->close();
}

inline bool write_with_oiio(const std::string& path, const hosting::Document& doc) {
    return write_with_oiio(path, doc, [](OIIO::ImageSpec&) {});
}

// Reads a file through OpenImageIO into a document as the host keeps it: 2 or 4
// channels mean alpha, 16-bit samples in the host's range.
inline bool read_with_oiio(const std::string& path, hosting::Document& doc) {
    OIIO::ImageSpec config;
    config.attribute("oiio:UnassociatedAlpha", 1);
    auto in = OIIO::ImageInput::open(path, &config);
    if (!in) return false;
    const OIIO::ImageSpec& description = in->spec();
    const int depth = description.format == OIIO::TypeDesc::UINT8 ? 8 : description.format == OIIO::TypeDesc::UINT16 ? 16 : 32;
    doc = hosting::make_document(description.width, description.height, depth,
                                 description.nchannels >= 3 ? hosting::ColourKind::rgb : hosting::ColourKind::grey,
                                 description.nchannels == 2 || description.nchannels == 4);
    if (!in->read_image(0, 0, 0, doc.planes(), oiio_type(depth), doc.pixels.data())) return false;
    if (depth == 16)
        for (std::size_t i = 0; i < doc.pixels.size(); i += 2) {
            uint16_t v;
            std::memcpy(&v, &doc.pixels[i], 2);
            v = host16_from_file(v);
            std::memcpy(&doc.pixels[i], &v, 2);
        }
    if (const OIIO::ParamValue* icc = description.find_attribute("ICCProfile")) {
        const auto* bytes = static_cast<const uint8_t*>(icc->data());
        doc.icc_profile.assign(bytes, bytes + icc->datasize());
    }
    return true;
}

inline std::string file_bytes(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
}

inline void write_bytes(const std::filesystem::path& path, const std::string& bytes) {
    std::ofstream(path, std::ios::binary) << bytes;
}

// The same picture: size, kind and samples.
inline void expect_same_picture(const hosting::Document& a, const hosting::Document& b, const std::string& what) {
    EXPECT_EQ(a.width, b.width) << what;
    EXPECT_EQ(a.height, b.height) << what;
    EXPECT_EQ(a.depth, b.depth) << what;
    EXPECT_EQ(a.colour, b.colour) << what;
    EXPECT_EQ(a.transparency, b.transparency) << what;
    EXPECT_TRUE(a.pixels == b.pixels) << what << ": the samples differ";
}

}  // namespace corvanthe::cli
