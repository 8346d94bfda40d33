#pragma once
// Test helpers: walks the marker segments of a JPEG stream and reads back the
// quantisation tables and sampling factors, independently of the writer.
#include <cstdint>
#include <string>
#include <vector>

namespace corvanthe::testing {

struct Segment {
    int marker;                    // 0xE0 for APP0 and so on
    std::vector<uint8_t> payload;  // without the length field
};

// Segments from after SOI up to and including SOS; empty when the stream does not start with SOI.
std::vector<Segment> segments_of(const uint8_t* data, std::size_t size);

// Table `id` of the stream's DQT segments, in natural (row-major) order.
std::vector<int> quant_table(const std::vector<Segment>& segments, int id);

// The sampling byte (h << 4 | v) of component `index` in the frame header, or -1.
int sampling_of(const std::vector<Segment>& segments, int index);

// Runs djpeg over the stream and parses its PPM output (RGB triples); empty when it fails.
struct Picture {
    int width = 0;
    int height = 0;
    std::vector<uint8_t> rgb;
};
Picture decode_with_djpeg(const uint8_t* data, std::size_t size, std::string& error);

}  // namespace corvanthe::testing
