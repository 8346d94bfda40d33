#include "render/golden_image.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <sstream>

#include "render/pixel_kernel.h"
#include "render/render_fixture.h"
#include "render/sun_job.h"
#include "render/worker_pool.h"
#include "settings/parameter_table.h"

namespace corvanthe::testing {

namespace {

constexpr uint64_t kFnvOffset = 0xcbf29ce484222325ull;
constexpr uint64_t kFnvPrime = 0x100000001b3ull;

void fnv_word(uint64_t& h, uint32_t word) {
    for (int i = 0; i < 4; ++i) {
        h ^= (word >> (8 * i)) & 0xFF;
        h *= kFnvPrime;
    }
}

std::string case_name(const char* parameter, const char* suffix) {
    std::string name = parameter;
    while (!name.empty() && name.back() == ' ') name.pop_back();
    for (char& c : name)
        if (c == ' ' || c == '/') c = '_';
    return name + suffix;
}

GoldenCase make_case(std::string name, const SunSettings& settings) {
    GoldenCase c{std::move(name), settings, full_request(120, 90), {0, 0, 120, 90}};
    return c;
}

}  // namespace

GoldenImage::GoldenImage(const RenderRect& area)
    : area_(area), cells_(size_t(area.right - area.left) * size_t(area.bottom - area.top), Cell{}) {}

void GoldenImage::absorb(const CellBuffer& buffer, const RenderRect& piece) {
    const int32_t width = area_.right - area_.left;
    for (int32_t y = std::max(piece.top, area_.top); y < std::min(piece.bottom, area_.bottom); ++y)
        for (int32_t x = std::max(piece.left, area_.left); x < std::min(piece.right, area_.right); ++x)
            if (const Cell* cell = buffer.cell(x, y))
                cells_[size_t(y - area_.top) * size_t(width) + size_t(x - area_.left)] = *cell;
}

uint64_t GoldenImage::hash() const {
    uint64_t h = kFnvOffset;
    for (const Cell& cell : cells_) {
        for (float v : cell.colour) {
            uint32_t bits;
            std::memcpy(&bits, &v, sizeof bits);
            fnv_word(h, bits);
        }
        fnv_word(h, cell.aux[2]);
    }
    return h;
}

uint64_t serial_render_hash(const RenderContext& context, const RenderRect& area, int32_t tile) {
    GoldenImage image(area);
    for (int32_t left = area.left; left < area.right; left += tile)
        for (int32_t top = area.top; top < area.bottom; top += tile) {
            const RenderRect piece{left, top, std::min(left + tile, area.right), std::min(top + tile, area.bottom)};
            OwnedCellBuffer cells(piece);
            render_piece(context, piece, cells.buffer);
            image.absorb(cells.buffer, piece);
        }
    return image.hash();
}

namespace {

// Kind 2 jobs whose completion collects the piece, as the glue would.
class CollectingSunWork final : public SunJobWork {
public:
    CollectingSunWork(const RenderContext& context, GoldenImage& image) : SunJobWork(context, 0, 0), image_(image) {}
    void complete(JobTask& task) override {
        const RenderRect piece{task.piece.left, task.piece.top, task.piece.right, task.piece.bottom};
        image_.absorb(task.cells.buffers[0], piece);
    }

private:
    GoldenImage& image_;
};

}  // namespace

uint64_t pool_render_hash(const RenderContext& context, const RenderRect& area, bool serial) {
    GoldenImage image(area);
    CollectingSunWork work(context, image);
    const sdk::VRect rect{area.top, area.left, area.bottom, area.right};
    const bool ran = serial ? run_jobs_serial(kSunJob, rect, kTileLayout, work)
                            : run_jobs(kSunJob, rect, kTileLayout, work);
    return ran ? image.hash() : 0;
}

std::vector<GoldenCase> golden_cases() {
    const SunSettings defaults = default_settings();
    std::vector<GoldenCase> cases;
    cases.push_back(make_case("defaults", defaults));

    for (int32_t type : {kSunFlat, kSunEclipse}) {
        SunSettings s = defaults;
        s.sun_type = type;
        cases.push_back(make_case(type == kSunFlat ? "type_flat" : "type_eclipse", s));
    }
    for (int v = 0; v < 2; ++v)
        for (int m = 0; m < 2; ++m) {
            SunSettings s = defaults;
            s.vortices = v;
            s.monopoles = m;
            cases.push_back(make_case("swirl_v" + std::to_string(v) + "_m" + std::to_string(m), s));
        }

    // Every slider alone at both ends, then all of them together.
    SunSettings all_low = defaults, all_high = defaults;
    for (const ParameterInfo& p : kParameters) {
        if (p.type != ParameterType::Integer || p.key == four_cc("0048")) continue;
        for (int32_t value : {p.min, p.max}) {
            SunSettings s = defaults;
            set_integer(s, p, value);
            cases.push_back(make_case(case_name(p.name, value == p.min ? "_0" : "_100"), s));
        }
        set_integer(all_low, p, p.min);
        set_integer(all_high, p, p.max);
    }
    cases.push_back(make_case("all_sliders_0", all_low));
    cases.push_back(make_case("all_sliders_100", all_high));

    for (int32_t seed : {0, 1, 3, 1234, 2047}) {
        SunSettings s = defaults;
        s.random_seed = seed;
        cases.push_back(make_case("seed_" + std::to_string(seed), s));
    }

    // The flare pair aligned (spikes) and the spike pair aligned (flares).
    {
        SunSettings s = defaults;
        s.flare_x = 0.8f;
        s.flare_y = 0.6f;
        s.spike_x = -0.6f;
        s.spike_y = 0.8f;
        cases.push_back(make_case("directions_aligned", s));
    }

    // Render modes 0 and 1 at scale divisors 1 and 3: the rectangle is the image; the
    // target is the image reduced by the divisor, the preview looking from an offset.
    for (int32_t mode : {0, 1})
        for (int32_t divisor : {1, 3}) {
            GoldenCase c = make_case("mode" + std::to_string(mode) + "_divisor" + std::to_string(divisor), defaults);
            c.request = full_request(240, 180);
            c.request.render_mode = mode;
            c.request.scale_divisor = divisor;
            if (mode == 1) {
                c.request.view_origin_x = 30;
                c.request.view_origin_y = 24;
            }
            c.area = {0, 0, 240 / divisor, 180 / divisor};
            if (divisor == 1) c.area = {60, 45, 180, 135};
            cases.push_back(c);
        }

    // Render mode 2: a layered-store picture twice the rectangle's size zooms by 2.
    {
        GoldenCase c = make_case("mode2_zoom2", defaults);
        c.request.render_mode = 2;
        c.request.image_width = 240;
        c.request.image_height = 180;
        c.area = {0, 0, 240, 180};
        cases.push_back(c);
    }

    for (DepthClass depth : {DepthClass::Eight, DepthClass::Float}) {
        GoldenCase c = make_case(depth == DepthClass::Eight ? "depth_8" : "depth_float", defaults);
        c.request.depth = depth;
        cases.push_back(c);
    }
    return cases;
}

std::map<std::string, uint64_t> read_golden_file(const std::string& path) {
    std::map<std::string, uint64_t> hashes;
    std::ifstream in(path);
    std::string line;
    while (std::getline(in, line)) {
        if (line.empty() || line[0] == '#') continue;
        std::istringstream fields(line);
        std::string name, hex;
        if (fields >> name >> hex) hashes[name] = std::stoull(hex, nullptr, 16);
    }
    return hashes;
}

bool write_golden_file(const std::string& path, const std::map<std::string, uint64_t>& hashes) {
    std::ofstream out(path);
    out << "# Render golden hashes: case name, FNV-1a 64 of the cells (tests/render/golden_image.h).\n";
    for (const auto& [name, hash] : hashes) {
        char hex[17];
        std::snprintf(hex, sizeof hex, "%016llx", static_cast<unsigned long long>(hash));
        out << name << ' ' << hex << '\n';
    }
    return bool(out);
}

std::string render_golden_path() { return std::string(CORVANTHE_GOLDEN_DIR) + "/render_hashes.txt"; }

}  // namespace corvanthe::testing
