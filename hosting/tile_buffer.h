#pragma once
// The areas a filter asks for through advanceState: copying document samples into an
// interleaved buffer at an input rate with edge padding, and writing an output buffer
// back into the document.
#include <cstddef>
#include <cstdint>
#include <vector>

#include "hosting/document.h"
#include "sdk/filter_record.h"

namespace corvanthe::hosting {

struct TileRequest {
    // In sampled coordinates: buffer pixel (x, y) holds image pixel (⌊x·rate⌋, ⌊y·rate⌋).
    sdk::VRect rect{};
    int lo_plane = 0;
    int hi_plane = 0;
    sdk::Fixed rate = 0x10000;  // 16.16
    int16_t padding = sdk::kPlugInWantsEdgeReplication;  // or 0..255, scaled to the depth
};

struct TileBuffer {
    TileRequest request;
    std::vector<uint8_t> bytes;  // empty for an empty rectangle or a view
    uint8_t* view = nullptr;     // the document's own samples, when handed out in place
    int32_t row_bytes = 0;
    int32_t pixel_bytes = 0;
    int32_t sample_bytes = 0;

    bool empty() const { return !view && bytes.empty(); }
    void* data() { return view ? view : bytes.empty() ? nullptr : bytes.data(); }
    int32_t width() const { return request.rect.right - request.rect.left; }
    int32_t height() const { return request.rect.bottom - request.rect.top; }
};

bool is_empty(const sdk::VRect& r);

// Fill out from the document's planes (or from its selection mask). Rows are
// row_padding bytes longer than the pixels need. Returns 0; -30100 for planes outside
// the document, a rate of zero or less, an unknown padding value, or an area beyond the
// image with padding -3; -108 when the buffer would be larger than max_bytes or cannot
// be had. An empty rectangle gives an empty buffer.
sdk::OSErr read_tile(const Document& doc, const TileRequest& request, int32_t row_padding, size_t max_bytes,
                     TileBuffer& out);
// As read_tile, but an area inside the image at full rate with every plane, without row padding,
// is handed out in place, as hosts do with their own tiles: out views the document's samples, rows
// a whole image row apart, and what a filter writes there lands in the document at once.
sdk::OSErr view_tile(Document& doc, const TileRequest& request, int32_t row_padding, size_t max_bytes,
                     TileBuffer& out);
sdk::OSErr read_mask_tile(const Document& doc, const TileRequest& request, int32_t row_padding, size_t max_bytes,
                          TileBuffer& out);

// Write a buffer read at rate 1 back: samples inside the image, the requested planes
// only. With blend_source (the host's automatic masking), each sample becomes
// source + (written − source) × mask ÷ 255. A view is already in place: nothing to write (so a
// document with a selection must be given buffers when it is to be blended).
void write_tile(const TileBuffer& buffer, Document& doc, const Document* blend_source = nullptr);

}  // namespace corvanthe::hosting
