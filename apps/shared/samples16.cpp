#include "apps/shared/samples16.h"

#include <cstring>

namespace corvanthe::apps {

uint16_t host16_from_file(uint16_t v) { return uint16_t((uint32_t(v) * 32768u + 32767u) / 65535u); }

uint16_t file16_from_host(uint16_t v) {
    const uint32_t h = v > 32768 ? 32768 : v;
    return uint16_t((h * 65535u + 16384u) / 32768u);
}

void host16_samples_from_file(hosting::Document& doc) {
    for (std::size_t i = 0; i + 1 < doc.pixels.size(); i += 2) {
        uint16_t v;
        std::memcpy(&v, &doc.pixels[i], 2);
        v = host16_from_file(v);
        std::memcpy(&doc.pixels[i], &v, 2);
    }
}

}  // namespace corvanthe::apps
