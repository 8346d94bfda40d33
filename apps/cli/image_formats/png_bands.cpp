#include "apps/cli/image_formats/png_bands.h"

#include <zlib.h>

#include <algorithm>
#include <condition_variable>
#include <cstring>
#include <mutex>
#include <new>
#include <thread>
#include <vector>

#include "apps/cli/image_file.h"

namespace corvanthe::cli {

namespace {

struct Band {
    std::vector<uint8_t> bytes;  // raw deflate, ending on a byte boundary
    uLong adler = 1;             // of the filtered rows
    uLong length = 0;            // filtered bytes
    bool ready = false;
};

// One row as the file stores it: the document's own bytes at 8 bits, 16-bit samples
// mapped onto 0..65535 and stored big-endian.
const uint8_t* file_row(const hosting::Document& doc, int32_t y, uint8_t* scratch) {
    const uint8_t* row = doc.pixels.data() + std::size_t(y) * doc.row_bytes();
    if (doc.depth == 8) return row;
    for (std::size_t i = 0; i < doc.row_bytes(); i += 2) {
        uint16_t v;
        std::memcpy(&v, row + i, 2);
        v = file16_from_host(v);
        scratch[i] = uint8_t(v >> 8);
        scratch[i + 1] = uint8_t(v);
    }
    return scratch;
}

// Every row is stored with the "up" filter (each byte less the byte above it). Measured
// on a 12-megapixel picture against libpng's per-row choice among all five filters, it
// takes about 40% less time for a file 3% larger, and at zlib level 2 it beats the
// per-row choice at level 1 in both time and size.
constexpr uint8_t kUpFilter = 2;

// Runs deflate until it has taken all its input and written all it owes for `flush`,
// growing the output as needed.
bool run_deflate(z_stream& z, std::vector<uint8_t>& out, std::size_t& used, int flush) {
    for (;;) {
        if (used == out.size()) out.resize(out.size() + out.size() / 2 + 4096);
        z.next_out = out.data() + used;
        z.avail_out = uInt(std::min<std::size_t>(out.size() - used, 1u << 30));
        const uInt offered = z.avail_out;
        const int rc = deflate(&z, flush);
        used += offered - z.avail_out;
        if (rc == Z_STREAM_ERROR) return false;
        if (flush == Z_FINISH ? rc == Z_STREAM_END : z.avail_out != 0 && z.avail_in == 0) return true;
    }
}

// Filters and deflates band `index`; the last band ends the deflate stream.
bool compress_band(const hosting::Document& doc, int32_t index, int level, Band& band) {
    const int32_t first = index * kPngBandRows;
    const int32_t last = std::min(doc.height, first + kPngBandRows);
    const std::size_t size = doc.row_bytes();
    std::vector<uint8_t> scratch(2 * size);  // this row and the one above, 16-bit only
    std::vector<uint8_t> zero(size, 0);
    std::vector<uint8_t> filtered(size + 1);
    filtered[0] = kUpFilter;

    z_stream z{};
    if (deflateInit2(&z, level, Z_DEFLATED, -15, 8, Z_DEFAULT_STRATEGY) != Z_OK) return false;
    band.length = uLong(last - first) * uLong(size + 1);
    band.bytes.resize(deflateBound(&z, band.length) + 16);
    std::size_t used = 0;
    bool ok = true;
    const uint8_t* above = first == 0 ? zero.data() : file_row(doc, first - 1, scratch.data() + size);
    for (int32_t y = first; y < last && ok; ++y) {
        const uint8_t* row = file_row(doc, y, scratch.data() + ((y - first) % 2) * size);
        for (std::size_t i = 0; i < size; ++i) filtered[i + 1] = uint8_t(row[i] - above[i]);
        band.adler = adler32(band.adler, filtered.data(), uInt(size + 1));
        z.next_in = filtered.data();
        z.avail_in = uInt(size + 1);
        const int flush = y + 1 < last ? Z_NO_FLUSH : last == doc.height ? Z_FINISH : Z_SYNC_FLUSH;
        ok = run_deflate(z, band.bytes, used, flush);
        above = row;
    }
    deflateEnd(&z);
    band.bytes.resize(used);
    return ok;
}

// Bands handed from the compressing threads to the writing thread in order.
struct BandQueue {
    std::mutex mutex;
    std::condition_variable changed;
    std::vector<Band> bands;
    int32_t next = 0;     // the next band to compress
    int32_t written = 0;  // bands already handed to the sink
    int32_t window = 0;   // bands that may be compressed ahead of the sink
    bool stop = false;
};

void compress_bands(const hosting::Document& doc, int level, BandQueue& q) {
    const int32_t count = int32_t(q.bands.size());
    for (;;) {
        int32_t index;
        {
            std::unique_lock lock(q.mutex);
            q.changed.wait(lock, [&] { return q.stop || q.next >= count || q.next < q.written + q.window; });
            if (q.stop || q.next >= count) return;
            index = q.next++;
        }
        Band band;
        bool ok;
        try {
            ok = compress_band(doc, index, level, band);
        } catch (const std::bad_alloc&) {
            ok = false;
        }
        {
            std::lock_guard lock(q.mutex);
            if (ok) {
                q.bands[std::size_t(index)] = std::move(band);
                q.bands[std::size_t(index)].ready = true;
            } else {
                q.stop = true;
            }
        }
        q.changed.notify_all();
    }
}

// The stream's two header bytes for a 32 KB window at this level.
void zlib_header(int level, uint8_t header[2]) {
    const unsigned flevel = level <= 1 ? 0 : level <= 5 ? 1 : level == 6 ? 2 : 3;
    unsigned value = 0x7800u | (flevel << 6);
    value += 31 - value % 31;
    header[0] = uint8_t(value >> 8);
    header[1] = uint8_t(value);
}

}  // namespace

bool deflate_png_rows(const hosting::Document& doc, int level, int threads, const PngStreamSink& sink) {
    if (doc.width < 1 || doc.height < 1 || (doc.depth != 8 && doc.depth != 16)) return false;
    if (doc.row_bytes() >= UINT32_MAX) return false;  // zlib takes a row in one call
    BandQueue q;
    const int32_t count = (doc.height - 1) / kPngBandRows + 1;
    try {
        q.bands.resize(std::size_t(count));
    } catch (const std::bad_alloc&) {
        return false;
    }
    const int workers = std::clamp(threads, 1, int(count));
    q.window = 2 * workers;

    uint8_t header[2];
    zlib_header(level, header);
    if (!sink(header, 2)) return false;

    std::vector<std::thread> pool;
    try {
        for (int i = 0; i < workers; ++i) pool.emplace_back(compress_bands, std::cref(doc), level, std::ref(q));
    } catch (const std::exception&) {
        if (pool.empty()) return false;  // fewer threads than asked still give the same bytes
    }

    bool ok = true;
    uLong adler = 1;
    for (int32_t index = 0; index < count && ok; ++index) {
        Band band;
        {
            std::unique_lock lock(q.mutex);
            q.changed.wait(lock, [&] { return q.stop || q.bands[std::size_t(index)].ready; });
            ok = q.bands[std::size_t(index)].ready;
            band = std::move(q.bands[std::size_t(index)]);
            q.written = index + 1;
        }
        q.changed.notify_all();
        if (!ok) break;
        adler = index == 0 ? band.adler : adler32_combine(adler, band.adler, z_off_t(band.length));
        ok = sink(band.bytes.data(), band.bytes.size());
    }
    {
        std::lock_guard lock(q.mutex);
        q.stop = true;
    }
    q.changed.notify_all();
    for (std::thread& t : pool) t.join();
    if (!ok) return false;
    const uint8_t trailer[4] = {uint8_t(adler >> 24), uint8_t(adler >> 16), uint8_t(adler >> 8), uint8_t(adler)};
    return sink(trailer, 4);
}

}  // namespace corvanthe::cli
