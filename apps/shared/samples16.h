#pragma once
// 16-bit samples between the full range of files and editors (0..65535) and the host's
// 16-bit documents (0..32768).
#include <cstdint>

#include "hosting/document.h"

namespace corvanthe::apps {

// (v × 32768 + 32767) / 65535, so that 65535 is the host's full value 32768.
uint16_t host16_from_file(uint16_t v);
// Rounded back; values beyond the host's full value count as full.
uint16_t file16_from_host(uint16_t v);
// A 16-bit document's samples as read from a file (0..65535), brought to the host's scale.
void host16_samples_from_file(hosting::Document& doc);

}  // namespace corvanthe::apps
