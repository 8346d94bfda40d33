#pragma once
// Baseline JPEG compression and decompression from memory to memory on the JPEG
// library, with the program's own tables and marker segments. A fatal library
// error ends the call with a failure and releases the codec; nothing ever leaves
// the process and nothing is thrown.
#include <cstddef>
#include <cstdint>

namespace corvanthe {

// The Exif APP1 payload: a TIFF directory with one Software entry naming the program.
inline constexpr std::size_t kExifBlockSize = 42;
extern const uint8_t kExifBlock[kExifBlockSize];

// Segments written after the JFIF header and the comment (the maker's web address,
// in every stream), in this order. Each one is left out when not given.
struct JpegSegments {
    bool exif = false;
    const uint8_t* icc_profile = nullptr;  // split into APP2 chunks of at most 65519 bytes
    std::size_t icc_profile_size = 0;
    const uint8_t* iptc = nullptr;          // APP13 payload, its signature included
    std::size_t iptc_size = 0;
};

// A compressed stream in a heap block that grows while the library writes.
class JpegBytes {
public:
    JpegBytes() = default;
    JpegBytes(const JpegBytes&) = delete;
    JpegBytes& operator=(const JpegBytes&) = delete;
    ~JpegBytes();

    const uint8_t* data() const { return data_; }
    std::size_t size() const { return size_; }
    void clear();
    // Takes over a malloc'd block.
    void adopt(uint8_t* data, std::size_t size);

private:
    uint8_t* data_ = nullptr;
    std::size_t size_ = 0;
};

// Fills row y of the picture with width RGB triples.
using JpegRowSource = void (*)(const void* context, int y, uint8_t* rgb, int width);

// Compresses a width x height RGB picture row by row at the quality's decile
// (quality clamped to 0..99). False, with `out` empty, when the library fails or
// memory runs out.
bool compress_jpeg(int width, int height, JpegRowSource source, const void* context, int quality,
                   const JpegSegments& segments, JpegBytes& out);

// Receives output row `row` (from 0 upward): width pixels of `components` samples
// (3 for RGB, 1 for grey). Returning false ends the decoding early, as a success.
using JpegRowSink = bool (*)(void* context, int row, const uint8_t* samples, int width, int components);

// Decompresses a grey or colour stream row by row. False when the data is not a
// stream the library can decode (or needs more working memory than a thumbnail).
bool decompress_jpeg(const uint8_t* data, std::size_t size, JpegRowSink sink, void* context);

}  // namespace corvanthe
