#pragma once
// The image data of a PNG file as one zlib stream, compressed in bands of rows on
// several threads (as pigz does): each band is filtered and deflated on its own and
// ends on a byte boundary, so the bands join behind one zlib header and one combined
// checksum. A band's bytes depend only on its rows, never on the thread count.
#include <cstddef>
#include <cstdint>
#include <functional>

#include "hosting/document.h"

namespace corvanthe::cli {

// Rows per band: fixed, so the file does not depend on the number of threads.
inline constexpr int32_t kPngBandRows = 128;

// Receives the stream's bytes in order; false stops the compression.
using PngStreamSink = std::function<bool(const uint8_t* data, std::size_t size)>;

// Compresses the document's rows as the PNG file stores them (16-bit samples in the
// file's range, big-endian) at zlib `level`, handing the stream to `sink` band by
// band from the calling thread. At most about two bands per thread are held at once.
// False when memory runs out, zlib fails or the sink refuses.
bool deflate_png_rows(const hosting::Document& doc, int level, int threads, const PngStreamSink& sink);

}  // namespace corvanthe::cli
