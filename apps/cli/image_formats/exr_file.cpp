#include "apps/cli/image_formats/exr_file.h"

#include <Imath/ImathBox.h>
#include <OpenEXR/ImfChannelList.h>
#include <OpenEXR/ImfCompression.h>
#include <OpenEXR/ImfFrameBuffer.h>
#include <OpenEXR/ImfHeader.h>
#include <OpenEXR/ImfInputFile.h>
#include <OpenEXR/ImfOutputFile.h>
#include <OpenEXR/ImfStdIO.h>

#include <algorithm>
#include <cstring>
#include <exception>
#include <fstream>
#include <iterator>
#include <vector>

#include "apps/cli/image_formats/image_size_limit.h"

namespace corvanthe::cli {

namespace {

constexpr uint8_t kMagic[4] = {0x76, 0x2f, 0x31, 0x01};
constexpr uint32_t kTiledFlag = 0x200;
constexpr uint32_t kDeepFlag = 0x800;
constexpr uint32_t kMultiPartFlag = 0x1000;
// Headers are read from at most this many of the file's first bytes.
constexpr std::size_t kLongestHeader = std::size_t(16) << 20;

// The most sample bytes one stored byte gives back, by the compression's number in the
// header; 0 where the coding has no such bound (Huffman codes of runs, wavelets).
constexpr double kCompressionRatios[] = {
    kStoredRatio,             // none
    kPackBitsRatio,           // RLE: a run of 128 bytes in two
    kDeflateRatio,            // ZIPS
    kDeflateRatio,            // ZIP
    0,                        // PIZ
    kDeflateRatio * 4 / 3,    // PXR24: floats cut to 24 bits, then deflated
    32.0 / 3,                 // B44
    32.0 / 3,                 // B44A: a flat block of 16 halves in 3 bytes
    0,                        // DWAA
    0,                        // DWAB
};

// Little-endian fields of the header, bounds-checked.
struct Fields {
    const uint8_t* at;
    const uint8_t* end;

    bool take(std::size_t n, const uint8_t*& out) {
        if (std::size_t(end - at) < n) return false;
        out = at;
        at += n;
        return true;
    }
    bool u32(uint32_t& v) {
        const uint8_t* p;
        if (!take(4, p)) return false;
        v = uint32_t(p[0]) | uint32_t(p[1]) << 8 | uint32_t(p[2]) << 16 | uint32_t(p[3]) << 24;
        return true;
    }
    bool i32(int32_t& v) {
        uint32_t u;
        if (!u32(u)) return false;
        v = int32_t(u);
        return true;
    }
    // A zero-terminated name of at most 255 characters.
    bool name(std::string& s) {
        const std::size_t room = std::min<std::size_t>(std::size_t(end - at), 256);
        const auto* zero = static_cast<const uint8_t*>(std::memchr(at, 0, room));
        if (zero == nullptr) return false;
        s.assign(reinterpret_cast<const char*>(at), reinterpret_cast<const char*>(zero));
        at = zero + 1;
        return true;
    }
};

// The channel list: which of Y, R, G, B and A there are, and the stored bytes per pixel.
bool read_channels(Fields f, ExrHeader& h, double& pixel_bytes, std::string& error) {
    bool y = false, r = false, g = false, b = false;
    for (std::string name; f.name(name) && !name.empty();) {
        int32_t type = 0, x_sampling = 0, y_sampling = 0;
        const uint8_t* flags;
        if (!f.i32(type) || !f.take(4, flags) || !f.i32(x_sampling) || !f.i32(y_sampling)) break;
        if ((type < 0 || type > 2) || x_sampling < 1 || y_sampling < 1) {
            error = "channel '" + name + "' has a pixel type or sampling that OpenEXR does not know";
            return false;
        }
        const bool ours = name == "Y" || name == "R" || name == "G" || name == "B" || name == "A";
        if (ours && (x_sampling != 1 || y_sampling != 1)) {
            error = "channel '" + name + "' is subsampled; only full-resolution Y or RGB images are read";
            return false;
        }
        if (name == "RY" || name == "BY") {
            error = "luminance and chroma images are not read; only Y or RGB";
            return false;
        }
        y |= name == "Y";
        r |= name == "R";
        g |= name == "G";
        b |= name == "B";
        h.alpha |= name == "A";
        pixel_bytes += (type == 1 ? 2.0 : 4.0) / (double(x_sampling) * double(y_sampling));
    }
    h.grey = y && !r && !g && !b;
    if (h.grey || (r && g && b)) return true;
    error = "no Y channel and no R, G and B channels; only grey (Y) or RGB images are read";
    return false;
}

bool header_error(std::string& error, const char* reason) {
    error = std::string("not an OpenEXR image that can be read: ") + reason;
    return false;
}

// A size of the data window: 1..INT32_MAX.
bool window_side(int32_t low, int32_t high, int32_t& side) {
    const int64_t n = int64_t(high) - int64_t(low) + 1;
    if (n < 1 || n > INT32_MAX) return false;
    side = int32_t(n);
    return true;
}

const char* const kRgbNames[] = {"R", "G", "B"};
const char* const kGreyNames[] = {"Y"};

// The file's channel of each of the document's planes, colour first.
std::vector<const char*> channel_names(const hosting::Document& doc) {
    std::vector<const char*> names;
    if (doc.colour == hosting::ColourKind::grey)
        names.assign(std::begin(kGreyNames), std::end(kGreyNames));
    else
        names.assign(std::begin(kRgbNames), std::end(kRgbNames));
    if (doc.transparency) names.push_back("A");
    return names;
}

float* sample(hosting::Document& doc, int32_t x, int32_t y, int plane) {
    return reinterpret_cast<float*>(doc.sample_address(x, y, plane));
}

// Colour times alpha (`associate`), or colour over alpha where alpha is not 0.
void change_association(hosting::Document& doc, bool associate) {
    if (!doc.transparency) return;
    const int colours = doc.colour_planes();
    for (int32_t y = 0; y < doc.height; ++y)
        for (int32_t x = 0; x < doc.width; ++x) {
            const float alpha = *sample(doc, x, y, colours);
            if (!associate && alpha == 0) continue;
            for (int p = 0; p < colours; ++p) {
                float* c = sample(doc, x, y, p);
                *c = associate ? *c * alpha : *c / alpha;
            }
        }
}

bool read_header_bytes(const std::string& path, uint64_t file_size, std::vector<uint8_t>& bytes) {
    std::ifstream in(path, std::ios::binary);
    bytes.resize(std::size_t(std::min<uint64_t>(file_size, kLongestHeader)));
    in.read(reinterpret_cast<char*>(bytes.data()), std::streamsize(bytes.size()));
    return bool(in);
}

}  // namespace

bool read_exr_header(const uint8_t* data, std::size_t size, ExrHeader& h, std::string& error) {
    h = {};
    Fields f{data, data + size};
    const uint8_t* magic;
    uint32_t version = 0;
    if (!f.take(4, magic) || std::memcmp(magic, kMagic, 4) != 0 || !f.u32(version))
        return header_error(error, "no OpenEXR signature");
    if ((version & 0xff) != 2) return header_error(error, "a format version other than 2");
    if (version & (kDeepFlag | kMultiPartFlag)) return header_error(error, "deep or multi-part files are not read");
    bool have_window = false, have_channels = false, have_compression = false, have_tiles = false;
    double pixel_bytes = 0;
    int32_t window[4] = {};
    uint32_t tile[2] = {};
    uint8_t compression = 0;
    for (;;) {
        std::string name, type;
        int32_t length = 0;
        const uint8_t* value;
        if (!f.name(name)) return header_error(error, "the header ends early");
        if (name.empty()) break;
        if (!f.name(type) || !f.i32(length) || length < 0 || !f.take(std::size_t(length), value))
            return header_error(error, "the header ends early");
        Fields v{value, value + length};
        if (name == "channels" && type == "chlist") {
            if (!read_channels(v, h, pixel_bytes, error)) return false;
            have_channels = true;
        } else if (name == "dataWindow" && type == "box2i") {
            have_window = v.i32(window[0]) && v.i32(window[1]) && v.i32(window[2]) && v.i32(window[3]);
        } else if (name == "compression" && type == "compression") {
            const uint8_t* c;
            have_compression = v.take(1, c);
            if (have_compression) compression = *c;
        } else if (name == "tiles" && type == "tiledesc") {
            have_tiles = v.u32(tile[0]) && v.u32(tile[1]);
        }
    }
    if (!have_window || !have_channels || !have_compression) return header_error(error, "a required attribute is missing");
    if (!window_side(window[0], window[2], h.width) || !window_side(window[1], window[3], h.height))
        return header_error(error, "an empty or too large data window");
    if (compression >= std::size(kCompressionRatios)) return header_error(error, "a compression it does not know");
    h.ratio = kCompressionRatios[compression];
    h.stored_bytes = pixel_bytes * double(h.width) * double(h.height);
    if (version & kTiledFlag) {
        if (!have_tiles || tile[0] < 1 || tile[1] < 1 || tile[0] > INT32_MAX || tile[1] > INT32_MAX)
            return header_error(error, "a tiled file without a usable tile size");
        h.tile_width = int32_t(tile[0]);
        h.tile_height = int32_t(tile[1]);
        h.tile_bytes = pixel_bytes * double(tile[0]) * double(tile[1]);
    }
    return true;
}

bool read_exr_file(const std::string& path, hosting::Document& doc, std::string& error) {
    const uint64_t file_size = image_file_size(path);
    std::vector<uint8_t> bytes;
    ExrHeader h;
    if (!read_header_bytes(path, file_size, bytes)) {
        error = "cannot read the header";
        return false;
    }
    if (!read_exr_header(bytes.data(), bytes.size(), h, error)) return false;
    const uint32_t width = uint32_t(h.width), height = uint32_t(h.height);
    const int planes = (h.grey ? 1 : 3) + (h.alpha ? 1 : 0);
    const double document_bytes = double(width) * double(height) * planes * sizeof(float);
    if (h.ratio > 0) {
        if (!fits_in_file("image", width, height, h.stored_bytes, h.ratio, file_size, error)) return false;
        if (h.tile_bytes > 0 && !fits_in_file("tile", uint32_t(h.tile_width), uint32_t(h.tile_height), h.tile_bytes,
                                              h.ratio, file_size, error))
            return false;
    } else if (!within_unbounded_limit("image", width, height, document_bytes + h.stored_bytes + h.tile_bytes,
                                       "OpenEXR files of this compression", error)) {
        return false;
    }
    try {
        Imf::InputFile file(path.c_str());
        const Imath::Box2i window = file.header().dataWindow();
        if (int64_t(window.max.x) - window.min.x + 1 != h.width || int64_t(window.max.y) - window.min.y + 1 != h.height) {
            error = "the library reads another data window than the header holds";
            return false;
        }
        doc = hosting::make_document(h.width, h.height, 32, h.grey ? hosting::ColourKind::grey : hosting::ColourKind::rgb,
                                     h.alpha);
        const std::vector<const char*> names = channel_names(doc);
        Imf::FrameBuffer frame;
        for (std::size_t p = 0; p < names.size(); ++p)
            frame.insert(names[p], Imf::Slice::Make(Imf::FLOAT, sample(doc, 0, 0, int(p)), window, doc.pixel_bytes(),
                                                    doc.row_bytes()));
        file.setFrameBuffer(frame);
        file.readPixels(window.min.y, window.max.y);
    } catch (const std::exception& e) {
        error = e.what();
        return false;
    }
    change_association(doc, false);
    return true;
}

bool write_exr_file(const std::string& path, const hosting::Document& doc, std::string& error) {
    if (doc.depth != 32) {
        error = "OpenEXR files are written from 32-bit documents";
        return false;
    }
    hosting::Document associated = doc;
    change_association(associated, true);
    const std::vector<const char*> names = channel_names(associated);
    try {
        Imf::Header header(associated.width, associated.height);
        header.compression() = Imf::ZIP_COMPRESSION;
        Imf::FrameBuffer frame;
        for (std::size_t p = 0; p < names.size(); ++p) {
            header.channels().insert(names[p], Imf::Channel(Imf::FLOAT));
            frame.insert(names[p], Imf::Slice(Imf::FLOAT, reinterpret_cast<char*>(sample(associated, 0, 0, int(p))),
                                              associated.pixel_bytes(), associated.row_bytes()));
        }
        std::ofstream stream(path, std::ios::binary | std::ios::trunc);
        if (!stream) {
            error = "cannot create the file";
            return false;
        }
        {
            Imf::StdOFStream out(stream, path.c_str());
            Imf::OutputFile file(out, header);
            file.setFrameBuffer(frame);
            file.writePixels(associated.height);
        }
        // The file's closing writes (its offset table, the last buffered bytes) report no
        // error of their own: the stream tells.
        stream.close();
        if (!stream) {
            error = "cannot write the whole file";
            return false;
        }
    } catch (const std::exception& e) {
        error = e.what();
        return false;
    }
    return true;
}

}  // namespace corvanthe::cli
