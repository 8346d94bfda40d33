#pragma once
// Golden hashes of rendered cells. A render of a whole area, however it is cut into
// pieces and whatever thread renders them, is collected here and hashed in one fixed
// order, so the same hash must come out at 1 and at N threads.
#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "layers/cell_buffer.h"
#include "render/render_context.h"
#include "settings/sun_settings.h"

namespace corvanthe::testing {

class GoldenImage {
public:
    explicit GoldenImage(const RenderRect& area);
    // Copies the piece's cells out of a job's cell buffer.
    void absorb(const CellBuffer& buffer, const RenderRect& piece);
    // FNV-1a 64 over every pixel, row by row: the bit patterns of the four colour
    // floats, then aux[2] (the disc coverage), each little-endian.
    uint64_t hash() const;

private:
    RenderRect area_;
    std::vector<Cell> cells_;
};

// Renders `area` serially in tiles of `tile` x `tile` pixels and hashes it.
uint64_t serial_render_hash(const RenderContext& context, const RenderRect& area, int32_t tile = 64);

// Renders `area` as job kind 2 of the worker pool (threaded, or its serial variant) and
// hashes it; the pool's thread count follows set_processor_override. 0 if a job failed.
uint64_t pool_render_hash(const RenderContext& context, const RenderRect& area, bool serial);

struct GoldenCase {
    std::string name;
    SunSettings settings;
    RenderRequest request;
    RenderRect area;   // the target pixels rendered
};

// The matrix of settings the golden file pins.
std::vector<GoldenCase> golden_cases();

// name -> hash from a file of "name 0123456789abcdef" lines; empty if unreadable.
std::map<std::string, uint64_t> read_golden_file(const std::string& path);
bool write_golden_file(const std::string& path, const std::map<std::string, uint64_t>& hashes);

// The renderer's golden file in the source tree.
std::string render_golden_path();

}  // namespace corvanthe::testing
