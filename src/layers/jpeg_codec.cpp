#include "layers/jpeg_codec.h"

#include <csetjmp>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include <jpeglib.h>
#include <jerror.h>

#include "layers/jpeg_tables.h"
#include "platform/product.h"

namespace corvanthe {

const uint8_t kExifBlock[kExifBlockSize] = {
    'E', 'x', 'i', 'f', 0, 0,                  // signature
    'M', 'M', 0, 42, 0, 0, 0, 8,               // TIFF header, big-endian, first directory at 8
    0, 1,                                      // one entry:
    0x01, 0x31, 0, 2, 0, 0, 0, 10, 0, 0, 0, 26,  // Software, ASCII, 10 bytes at offset 26
    0, 0, 0, 0,                                // no next directory
    'C', 'o', 'r', 'v', 'a', 'n', 't', 'h', 'e', 0,
};

JpegBytes::~JpegBytes() { std::free(data_); }

void JpegBytes::clear() {
    std::free(data_);
    data_ = nullptr;
    size_ = 0;
}

void JpegBytes::adopt(uint8_t* data, std::size_t size) {
    clear();
    data_ = data;
    size_ = size;
}

namespace {

constexpr std::size_t kFirstOutputBlock = 64 * 1024;
constexpr long kDecoderMemoryLimit = 64L * 1024 * 1024;
constexpr std::size_t kIccChunk = 65519;
constexpr char kIccSignature[] = "ICC_PROFILE";  // written with its zero byte
constexpr std::size_t kIccChunkHeader = sizeof kIccSignature + 2;
constexpr std::size_t kMaxIccChunks = 255;  // the sequence numbers are bytes

// The library reports fatal errors here; we jump back to the call's own frame.
struct ErrorTrap {
    jpeg_error_mgr manager;
    std::jmp_buf jump;
};

[[noreturn]] void on_fatal_error(j_common_ptr cinfo) {
    std::longjmp(reinterpret_cast<ErrorTrap*>(cinfo->err)->jump, 1);
}
void on_message(j_common_ptr, int) {}
void on_output_message(j_common_ptr) {}
void on_reset(j_common_ptr cinfo) {
    cinfo->err->num_warnings = 0;
    cinfo->err->msg_code = 0;
}

jpeg_error_mgr* install_trap(ErrorTrap& trap) {
    jpeg_std_error(&trap.manager);
    trap.manager.error_exit = on_fatal_error;
    trap.manager.emit_message = on_message;
    trap.manager.output_message = on_output_message;
    trap.manager.reset_error_mgr = on_reset;
    return &trap.manager;
}

// An output block that doubles whenever the library fills it, so any headers fit.
struct GrowingDestination {
    jpeg_destination_mgr manager;
    uint8_t* buffer;
    std::size_t capacity;
    std::size_t size;
};

GrowingDestination* destination_of(j_compress_ptr cinfo) {
    return reinterpret_cast<GrowingDestination*>(cinfo->dest);
}

void init_destination(j_compress_ptr cinfo) {
    GrowingDestination* d = destination_of(cinfo);
    d->buffer = static_cast<uint8_t*>(std::malloc(kFirstOutputBlock));
    if (!d->buffer) ERREXIT1(cinfo, JERR_OUT_OF_MEMORY, 0);
    d->capacity = kFirstOutputBlock;
    d->manager.next_output_byte = d->buffer;
    d->manager.free_in_buffer = d->capacity;
}

boolean empty_output_buffer(j_compress_ptr cinfo) {
    GrowingDestination* d = destination_of(cinfo);
    const std::size_t grown = d->capacity * 2;
    uint8_t* buffer = grown > d->capacity ? static_cast<uint8_t*>(std::realloc(d->buffer, grown)) : nullptr;
    if (!buffer) ERREXIT1(cinfo, JERR_OUT_OF_MEMORY, 1);
    d->buffer = buffer;
    d->manager.next_output_byte = buffer + d->capacity;  // the library hands over a full block
    d->manager.free_in_buffer = grown - d->capacity;
    d->capacity = grown;
    return TRUE;
}

void term_destination(j_compress_ptr cinfo) {
    GrowingDestination* d = destination_of(cinfo);
    d->size = d->capacity - d->manager.free_in_buffer;
}

void write_icc_profile(j_compress_ptr cinfo, const uint8_t* profile, std::size_t size) {
    const std::size_t chunks = size / kIccChunk + (size % kIccChunk ? 1 : 0);
    if (chunks > kMaxIccChunks) return;  // cannot be numbered; the picture goes without it
    for (std::size_t i = 0; i < chunks; ++i) {
        const std::size_t offset = i * kIccChunk;
        const std::size_t length = size - offset < kIccChunk ? size - offset : kIccChunk;
        jpeg_write_m_header(cinfo, JPEG_APP0 + 2, static_cast<unsigned int>(kIccChunkHeader + length));
        for (char c : kIccSignature) jpeg_write_m_byte(cinfo, static_cast<uint8_t>(c));
        jpeg_write_m_byte(cinfo, static_cast<int>(i + 1));
        jpeg_write_m_byte(cinfo, static_cast<int>(chunks));
        for (std::size_t k = 0; k < length; ++k) jpeg_write_m_byte(cinfo, profile[offset + k]);
    }
}

void write_segments(j_compress_ptr cinfo, const JpegSegments& s) {
    const char* address = product::kWebAddress;  // with its zero byte
    jpeg_write_marker(cinfo, JPEG_COM, reinterpret_cast<const JOCTET*>(address),
                      static_cast<unsigned int>(std::strlen(address) + 1));
    if (s.exif) jpeg_write_marker(cinfo, JPEG_APP0 + 1, kExifBlock, kExifBlockSize);
    if (s.icc_profile && s.icc_profile_size > 0) write_icc_profile(cinfo, s.icc_profile, s.icc_profile_size);
    if (s.iptc && s.iptc_size > 0)
        jpeg_write_marker(cinfo, JPEG_APP0 + 13, s.iptc, static_cast<unsigned int>(s.iptc_size));
}

struct Encoder {
    jpeg_compress_struct cinfo;
    ErrorTrap trap;
    GrowingDestination destination;
    uint8_t* row;
};

// Holds the library's jump target; the objects it changes live in the caller's Encoder.
bool run_encoder(Encoder& e, int width, int height, JpegRowSource source, const void* context, int quality,
                 const JpegSegments& segments) {
    if (setjmp(e.trap.jump) != 0) return false;
    jpeg_create_compress(&e.cinfo);
    e.destination.manager.init_destination = init_destination;
    e.destination.manager.empty_output_buffer = empty_output_buffer;
    e.destination.manager.term_destination = term_destination;
    e.cinfo.dest = &e.destination.manager;

    e.cinfo.image_width = static_cast<JDIMENSION>(width);
    e.cinfo.image_height = static_cast<JDIMENSION>(height);
    e.cinfo.input_components = 3;
    e.cinfo.in_color_space = JCS_RGB;
    jpeg_set_defaults(&e.cinfo);

    const JpegDecile& decile = jpeg_decile(quality);
    e.cinfo.comp_info[0].h_samp_factor = decile.luma_h;
    e.cinfo.comp_info[0].v_samp_factor = decile.luma_v;
    for (int c = 1; c < 3; ++c) {
        e.cinfo.comp_info[c].h_samp_factor = 1;
        e.cinfo.comp_info[c].v_samp_factor = 1;
    }
    jpeg_add_quant_table(&e.cinfo, 0, decile.luminance, 100, FALSE);
    jpeg_add_quant_table(&e.cinfo, 1, decile.chrominance, 100, FALSE);

    jpeg_start_compress(&e.cinfo, TRUE);
    write_segments(&e.cinfo, segments);
    for (int y = 0; y < height; ++y) {
        source(context, y, e.row, width);
        JSAMPROW row = e.row;
        jpeg_write_scanlines(&e.cinfo, &row, 1);
    }
    jpeg_finish_compress(&e.cinfo);
    return true;
}

struct Decoder {
    jpeg_decompress_struct cinfo;
    ErrorTrap trap;
    uint8_t* row;
};

bool run_decoder(Decoder& d, const uint8_t* data, std::size_t size, JpegRowSink sink, void* context) {
    if (setjmp(d.trap.jump) != 0) return false;
    jpeg_create_decompress(&d.cinfo);
    d.cinfo.mem->max_memory_to_use = kDecoderMemoryLimit;
    jpeg_mem_src(&d.cinfo, data, static_cast<unsigned long>(size));
    if (jpeg_read_header(&d.cinfo, TRUE) != JPEG_HEADER_OK) return false;
    if (d.cinfo.num_components == 3)
        d.cinfo.out_color_space = JCS_RGB;
    else if (d.cinfo.num_components == 1)
        d.cinfo.out_color_space = JCS_GRAYSCALE;
    else
        return false;
    jpeg_start_decompress(&d.cinfo);
    const int width = static_cast<int>(d.cinfo.output_width);
    const int components = d.cinfo.output_components;
    d.row = static_cast<uint8_t*>(std::malloc(static_cast<std::size_t>(width) * components));
    if (!d.row) return false;
    while (d.cinfo.output_scanline < d.cinfo.output_height) {
        const int r = static_cast<int>(d.cinfo.output_scanline);
        JSAMPROW row = d.row;
        jpeg_read_scanlines(&d.cinfo, &row, 1);
        if (!sink(context, r, d.row, width, components)) return true;
    }
    jpeg_finish_decompress(&d.cinfo);
    return true;
}

}  // namespace

bool compress_jpeg(int width, int height, JpegRowSource source, const void* context, int quality,
                   const JpegSegments& segments, JpegBytes& out) {
    out.clear();
    if (width < 1 || height < 1 || !source) return false;
    Encoder e{};
    e.cinfo.err = install_trap(e.trap);
    e.row = static_cast<uint8_t*>(std::malloc(static_cast<std::size_t>(width) * 3));
    if (!e.row) return false;
    const bool ok = run_encoder(e, width, height, source, context, quality, segments);
    jpeg_destroy_compress(&e.cinfo);
    std::free(e.row);
    if (ok)
        out.adopt(e.destination.buffer, e.destination.size);
    else
        std::free(e.destination.buffer);
    return ok;
}

bool decompress_jpeg(const uint8_t* data, std::size_t size, JpegRowSink sink, void* context) {
    if (!data || size == 0 || !sink) return false;
    Decoder d{};
    d.cinfo.err = install_trap(d.trap);
    const bool ok = run_decoder(d, data, size, sink, context);
    jpeg_destroy_decompress(&d.cinfo);
    std::free(d.row);
    return ok;
}

}  // namespace corvanthe
