#include "apps/cli/image_file.h"

#include "apps/cli/output_file.h"

#include <OpenImageIO/imageio.h>
#include <unistd.h>

#include <cstdio>
#include <cstring>
#include <filesystem>
#include <vector>

namespace corvanthe::cli {

namespace {

namespace fs = std::filesystem;
using OIIO::TypeDesc;

TypeDesc sample_type(int depth) {
    return depth == 8 ? TypeDesc::UINT8 : depth == 16 ? TypeDesc::UINT16 : TypeDesc::FLOAT;
}

int depth_of(TypeDesc format) {
    if (format.basetype == TypeDesc::UINT8 || format.basetype == TypeDesc::INT8) return 8;
    if (format.basetype == TypeDesc::HALF || format.basetype == TypeDesc::FLOAT || format.basetype == TypeDesc::DOUBLE) {
        return 32;
    }
    return 16;
}


}  // namespace

uint16_t host16_from_file(uint16_t v) { return uint16_t((uint32_t(v) * 32768u + 32767u) / 65535u); }

uint16_t file16_from_host(uint16_t v) {
    const uint32_t h = v > 32768 ? 32768 : v;
    return uint16_t((h * 65535u + 16384u) / 32768u);
}

bool read_image_file(const std::string& path, hosting::Document& doc, std::string& error) {
    std::error_code ec;
    if (!fs::is_regular_file(path, ec)) {
        error = "cannot read '" + path + "': " + (fs::exists(path, ec) ? "not a file" : "no such file");
        return false;
    }
    OIIO::ImageSpec config;
    config.attribute("oiio:UnassociatedAlpha", 1);
    auto in = OIIO::ImageInput::open(path, &config);
    if (!in) {
        error = "cannot read '" + path + "': " + OIIO::geterror();
        return false;
    }
    const OIIO::ImageSpec& spec = in->spec();
    const int channels = spec.nchannels;
    if (spec.width <= 0 || spec.height <= 0 || channels <= 0 || spec.depth > 1) {
        error = "cannot read '" + path + "': not a two-dimensional image";
        return false;
    }
    const bool colour = channels >= 3;
    const int alpha_at = colour ? 3 : 1;
    const bool alpha = channels > alpha_at && (spec.alpha_channel == alpha_at || spec.alpha_channel < 0);
    try {
        doc = hosting::make_document(spec.width, spec.height, depth_of(spec.format),
                                     colour ? hosting::ColourKind::rgb : hosting::ColourKind::grey, alpha);
    } catch (const std::exception&) {
        error = "cannot read '" + path + "': the image is too large";
        return false;
    }
    if (!in->read_image(0, 0, 0, doc.planes(), sample_type(doc.depth), doc.pixels.data())) {
        error = "cannot read '" + path + "': " + in->geterror();
        return false;
    }
    if (doc.depth == 16) {
        for (size_t i = 0; i < doc.pixels.size(); i += 2) {
            uint16_t v;
            std::memcpy(&v, &doc.pixels[i], 2);
            v = host16_from_file(v);
            std::memcpy(&doc.pixels[i], &v, 2);
        }
    }
    if (const OIIO::ParamValue* icc = spec.find_attribute("ICCProfile")) {
        const auto* bytes = static_cast<const uint8_t*>(icc->data());
        doc.icc_profile.assign(bytes, bytes + icc->datasize());
    }
    in->close();
    return true;
}

bool can_write_image_file(const std::string& path, std::string& error) {
    if (!OIIO::ImageOutput::create(path)) {
        error = "cannot write '" + path + "': no image format for this file name";
        OIIO::geterror();
        return false;
    }
    return true;
}

bool write_image_file(const std::string& path, const hosting::Document& doc, std::string& error) {
    auto out = OIIO::ImageOutput::create(path);
    if (!out) {
        error = "cannot write '" + path + "': no image format for this file name";
        OIIO::geterror();
        return false;
    }
    OIIO::ImageSpec spec(doc.width, doc.height, doc.planes(), sample_type(doc.depth));
    spec.alpha_channel = doc.transparency ? doc.colour_planes() : -1;
    spec.attribute("oiio:UnassociatedAlpha", 1);
    // zlib's level 3 instead of the writer's default 6: the same pixels, about half the
    // encoding time of a large picture for a file about a sixth larger.
    spec.attribute("png:compressionLevel", 3);
    if (!doc.icc_profile.empty()) {
        spec.attribute("ICCProfile", TypeDesc(TypeDesc::UINT8, int(doc.icc_profile.size())), doc.icc_profile.data());
    }
    std::vector<uint8_t> converted;
    const void* pixels = doc.pixels.data();
    if (doc.depth == 16) {
        converted = doc.pixels;
        for (size_t i = 0; i < converted.size(); i += 2) {
            uint16_t v;
            std::memcpy(&v, &converted[i], 2);
            v = file16_from_host(v);
            std::memcpy(&converted[i], &v, 2);
        }
        pixels = converted.data();
    }
    const fs::path target(path);
    const fs::path temporary = temporary_beside(target);
    const bool written = out->open(temporary.string(), spec) &&
                         out->write_image(sample_type(doc.depth), pixels) && out->close();
    if (!written) {
        error = "cannot write '" + path + "': " + out->geterror();
        std::error_code ec;
        fs::remove(temporary, ec);
        return false;
    }
    return replace_with_temporary(temporary, target, path, error);
}

}  // namespace corvanthe::cli
