// Thumbnail bytes of a settings file handed to the JPEG decoder, at any size the
// file may claim (the first two bytes; the reader clamps sides to 1..128).
#include "fuzz/fuzz_support.h"
#include "fuzz/thumbnail_holder.h"
#include "layers/jpeg_reader.h"
#include "layers/thumbnail.h"

using namespace corvanthe;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 2) return 0;
    const int32_t width = 1 + data[0] % kThumbnailSide;
    const int32_t height = 1 + data[1] % kThumbnailSide;
    data += 2;
    size -= 2;

    static fuzz::ThumbnailHolder holder;
    const LayerStore* before = holder.shown();
    if (holder.port().show(data, size, width, height)) {
        const LayerStore* shown = holder.shown();
        FUZZ_CHECK(shown && shown->tiles);
        FUZZ_CHECK(shown->levels[0].width == width && shown->levels[0].height == height);
        FUZZ_CHECK(shown->level_state == kLevelsBuilt);
    } else {
        FUZZ_CHECK(holder.shown() == before);  // a failed decode keeps the old picture
    }

    // The decoder alone, into a store of another kind: refused, nothing written.
    int owner = 0;
    if (LayerStore* wrong = create_store(&owner, width, height, PixelKind::rgba16)) {
        FUZZ_CHECK(!decode_jpeg(data, size, *wrong));
        free_store(wrong);
    }
    return 0;
}
