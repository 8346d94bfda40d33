// Image files of any content, read as the command reads its input: by their first
// bytes as PNG, TIFF, JPEG or OpenEXR. A document read is whole and consistent, no larger than
// its file could hold, and comes back unchanged through the lossless writers.
#include <zlib.h>

#include <algorithm>
#include <cstring>
#include <string>

#include "apps/cli/image_file.h"
#include "apps/cli/image_formats/image_size_limit.h"
#include "fuzz/fuzz_support.h"

using namespace corvanthe;

namespace {

// Documents up to this size are also written back and read again.
constexpr std::size_t kRoundTripBytes = 1 << 20;

bool starts_with(const uint8_t* data, std::size_t size, const char* bytes, std::size_t n) {
    return size >= n && std::memcmp(data, bytes, n) == 0;
}

// The most pixel bytes a document read from these bytes may take.
double largest_document(const uint8_t* data, std::size_t size) {
    const double file = double(size);
    const double unbounded = double(cli::kMaxUnboundedImageBytes);
    // PNG: one stored bit of a palette index can become four 8-bit samples.
    if (starts_with(data, size, "\x89PNG", 4)) return 32 * cli::kDeflateRatio * file;
    if (starts_with(data, size, "\xff\xd8", 2)) return unbounded;
    // OpenEXR: a half of the best-compressed coding becomes a float.
    if (starts_with(data, size, "\x76\x2f\x31\x01", 4)) return std::max(unbounded, 2 * cli::kDeflateRatio * 4 / 3 * file);
    return std::max(unbounded, cli::kLzwRatio * file);  // TIFF keeps at most the samples it stores
}

void check_document(const hosting::Document& doc, const uint8_t* data, std::size_t size) {
    FUZZ_CHECK(doc.width >= 1 && doc.height >= 1);
    FUZZ_CHECK(doc.depth == 8 || doc.depth == 16 || doc.depth == 32);
    FUZZ_CHECK(doc.pixels.size() == std::size_t(doc.height) * doc.row_bytes());
    FUZZ_CHECK(double(doc.pixels.size()) <= largest_document(data, size));
    FUZZ_CHECK(doc.mask.empty());
    if (doc.depth != 16) return;
    for (std::size_t i = 0; i < doc.pixels.size(); i += 2) {
        uint16_t v;
        std::memcpy(&v, &doc.pixels[i], 2);
        FUZZ_CHECK(v <= 32768);
    }
}

// libpng drops an ICC profile whose header it finds malformed; TIFF keeps any bytes.
void check_round_trip(const hosting::Document& doc, const std::string& path, bool any_profile_kept) {
    std::string error;
    FUZZ_CHECK(cli::write_image_file(path, doc, error));
    hosting::Document back;
    FUZZ_CHECK(cli::read_image_file(path, back, error));
    FUZZ_CHECK(back.width == doc.width && back.height == doc.height && back.depth == doc.depth);
    FUZZ_CHECK(back.colour == doc.colour && back.transparency == doc.transparency);
    FUZZ_CHECK(back.pixels == doc.pixels);
    FUZZ_CHECK(back.icc_profile == doc.icc_profile || (!any_profile_kept && back.icc_profile.empty()));
}

uint32_t be32(const uint8_t* at) { return uint32_t(at[0]) << 24 | uint32_t(at[1]) << 16 | uint32_t(at[2]) << 8 | at[3]; }

// Gives every whole chunk of a PNG file its right CRC, so that mutations of a header
// or of the image data reach past libpng's checksum test.
void fix_png_checksums(uint8_t* data, std::size_t size) {
    if (!starts_with(data, size, "\x89PNG\r\n\x1a\n", 8)) return;
    for (std::size_t at = 8; at + 12 <= size;) {
        const uint32_t length = be32(data + at);
        if (length > size - at - 12) return;
        const uint32_t crc = uint32_t(crc32(0, data + at + 4, uInt(length) + 4));
        for (int i = 0; i < 4; ++i) data[at + 8 + length + std::size_t(i)] = uint8_t(crc >> (24 - 8 * i));
        at += 12 + std::size_t(length);
    }
}

}  // namespace

extern "C" size_t LLVMFuzzerMutate(uint8_t* data, size_t size, size_t max_size);

extern "C" size_t LLVMFuzzerCustomMutator(uint8_t* data, size_t size, size_t max_size, unsigned int) {
    size = LLVMFuzzerMutate(data, size, max_size);
    fix_png_checksums(data, size);
    return size;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static const std::string input = fuzz::scratch_path("input");
    static const std::string tiff = fuzz::scratch_path("back.tif");
    static const std::string png = fuzz::scratch_path("back.png");
    if (!fuzz::write_whole_file(input, data, size)) return 0;

    hosting::Document doc;
    std::string error;
    if (!cli::read_image_file(input, doc, error)) {
        FUZZ_CHECK(error.rfind("cannot read '" + input + "': ", 0) == 0);
        FUZZ_CHECK(error.size() > input.size() + 16);
        return 0;
    }
    FUZZ_CHECK(error.empty());
    check_document(doc, data, size);
    if (doc.pixels.size() > kRoundTripBytes) return 0;
    check_round_trip(doc, tiff, true);
    if (doc.depth != 32) check_round_trip(doc, png, false);
    return 0;
}
