#include "hosting/display_canvas.h"

#include "sdk/filter_record.h"

namespace corvanthe::hosting {

namespace {
// Drawings beyond this size are refused rather than grown into.
constexpr int64_t kMaxCanvasSide = 1 << 15;
}  // namespace

void DisplayCanvas::grow(int32_t width, int32_t height) {
    if (width <= width_ && height <= height_) return;
    const int32_t w = width > width_ ? width : width_;
    const int32_t h = height > height_ ? height : height_;
    std::vector<uint8_t> bigger(size_t(w) * size_t(h) * 3, 0);
    for (int32_t y = 0; y < height_; ++y) {
        for (int32_t i = 0; i < width_ * 3; ++i) bigger[(size_t(y) * w) * 3 + i] = rgb_[(size_t(y) * width_) * 3 + i];
    }
    rgb_.swap(bigger);
    width_ = w;
    height_ = h;
}

int16_t DisplayCanvas::draw(const sdk::PSPixelMap& map, const sdk::VRect& source, int32_t dst_row, int32_t dst_col,
                            void* context) {
    const bool grey = map.imageMode == sdk::kModeGrayScale;
    if (!map.baseAddr || (!grey && map.imageMode != sdk::kModeRGBColor)) return sdk::kFilterBadParameters;
    if (source.top < map.bounds.top || source.left < map.bounds.left || source.bottom > map.bounds.bottom ||
        source.right > map.bounds.right || dst_row < 0 || dst_col < 0) {
        return sdk::kFilterBadParameters;
    }
    const int64_t rows = int64_t(source.bottom) - source.top;
    const int64_t cols = int64_t(source.right) - source.left;
    if (rows <= 0 || cols <= 0) return sdk::kNoErr;
    if (dst_row + rows > kMaxCanvasSide || dst_col + cols > kMaxCanvasSide) return sdk::kFilterBadParameters;
    calls_.push_back({source, dst_row, dst_col, map.imageMode, context});
    grow(int32_t(dst_col + cols), int32_t(dst_row + rows));
    const auto* base = static_cast<const uint8_t*>(map.baseAddr);
    for (int64_t r = 0; r < rows; ++r) {
        for (int64_t c = 0; c < cols; ++c) {
            const uint8_t* p = base + (source.top + r - map.bounds.top) * int64_t(map.rowBytes) +
                               (source.left + c - map.bounds.left) * int64_t(map.colBytes);
            uint8_t* to = rgb_.data() + ((dst_row + r) * width_ + dst_col + c) * 3;
            for (int k = 0; k < 3; ++k) to[k] = grey ? p[0] : p[int64_t(k) * map.planeBytes];
        }
    }
    return sdk::kNoErr;
}

uint8_t DisplayCanvas::at(int32_t x, int32_t y, int channel) const {
    if (x < 0 || y < 0 || x >= width_ || y >= height_ || channel < 0 || channel > 2) return 0;
    return rgb_[(size_t(y) * width_ + x) * 3 + channel];
}

void DisplayCanvas::clear() {
    width_ = height_ = 0;
    rgb_.clear();
    calls_.clear();
}

}  // namespace corvanthe::hosting
