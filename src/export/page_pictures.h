#pragma once
// What the pictures of a catalogue page share: the JPEG segments (Exif, the host's
// colour profile, the metadata block) and writing one picture into the picture folder.
#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "layers/jpeg_codec.h"
#include "layers/layer_store.h"

namespace corvanthe {

constexpr int kPagePictureQuality = 80;

// Called as a page goes through its entries: `done` of `total`, then total of total at the end.
using PageProgress = std::function<void(int32_t done, int32_t total)>;

// The host's colour profile; empty when the host has none.
struct ColourProfile {
    const uint8_t* data = nullptr;
    std::size_t size = 0;
};

// The segments of every page picture: Exif, the profile when given, and the metadata
// block of today with its JPEG signature. Keeps the block alive while it is used.
class PagePictureSegments {
public:
    explicit PagePictureSegments(ColourProfile profile);
    const JpegSegments& segments() const { return segments_; }

private:
    std::vector<uint8_t> iptc_;
    JpegSegments segments_;
};

// Writes the store as "<picture_folder><picture_name>.jpg"; false when it cannot.
bool write_page_picture(const LayerStore* store, const std::string& picture_folder, std::string_view picture_name,
                        const PagePictureSegments& segments);

// Marks stores the pages make as theirs (the JPEG file writer wants an owner).
void* page_store_owner();

}  // namespace corvanthe
