#pragma once
// What the readers check before they make a document from a file's header: a few
// bytes of header can claim gigapixels. An image is refused when its stored samples
// could not fit in the file even at the best ratio its coding reaches, and, for codings
// without such a ratio (JPEG; TIFF compressions other than none, PackBits, LZW and
// deflate), when reading it would take more than kMaxUnboundedImageBytes: the document
// and the decoder's buffers of the whole picture.
#include <cstdint>
#include <string>

namespace corvanthe::cli {

// The most bytes of samples that one stored byte gives back, at best, per coding.
inline constexpr double kStoredRatio = 1;
inline constexpr double kPackBitsRatio = 64;          // two bytes repeat one 128 times
inline constexpr double kDeflateRatio = 1032;         // a 258-byte match in two bits
inline constexpr double kLzwRatio = 4096.0 * 8 / 9;   // at most 4096 bytes per code of 9 bits or more

// The memory a reader takes for a picture of a coding without such a ratio (512 MB:
// about 179 megapixels of 8-bit RGB read row by row).
inline constexpr uint64_t kMaxUnboundedImageBytes = uint64_t(1) << 29;

// The file's size in bytes; 0 when it cannot be told.
uint64_t image_file_size(const std::string& path);

// True when `stored_bytes` of samples, coded at `ratio`, fit in `file_size` bytes;
// otherwise false with a message naming the claimed width x height `part` ("image",
// "tile").
bool fits_in_file(const char* part, uint32_t width, uint32_t height, double stored_bytes, double ratio,
                  uint64_t file_size, std::string& error);

// True when `bytes` of memory stay within kMaxUnboundedImageBytes; otherwise false with
// a message naming the claimed width x height `part` and the kind of file it comes `from`.
bool within_unbounded_limit(const char* part, uint32_t width, uint32_t height, double bytes, const char* from,
                            std::string& error);

}  // namespace corvanthe::cli
