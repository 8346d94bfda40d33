// Settings files of any content, read as the dialog's Load does (mode 0, over the
// defaults) and as the file chooser's preview does (mode 1), from memory: the bytes
// go through the same reader a file does.
#include <cstring>
#include <span>
#include <vector>

#include "fuzz/fuzz_support.h"
#include "fuzz/thumbnail_holder.h"
#include "layers/thumbnail.h"
#include "settings/settings_file.h"

using namespace corvanthe;

namespace {

SunSettings defaults() {
    SunSettings s;
    std::memset(&s, 0, sizeof s);
    initialise(s);
    return s;
}

bool same_record(const SunSettings& a, const SunSettings& b) { return std::memcmp(&a, &b, sizeof a) == 0; }

void check_shown(const fuzz::ThumbnailHolder& holder, const SettingsReadResult& result) {
    if (!result.thumbnail_shown) return;
    const LayerStore* shown = holder.shown();
    FUZZ_CHECK(shown && shown->tiles);
    FUZZ_CHECK(shown->levels[0].width >= 1 && shown->levels[0].width <= kThumbnailSide);
    FUZZ_CHECK(shown->levels[0].height >= 1 && shown->levels[0].height <= kThumbnailSide);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static const SunSettings start = defaults();
    const std::span<const uint8_t> input(data, size);  // read as the file's content

    // The dialog's thumbnail lives for the whole run, as in the dialog.
    static fuzz::ThumbnailHolder holder;

    // Mode 1 passes over the values: the record stays exactly as it was.
    SunSettings passed = start;
    const SettingsReadResult preview = read_settings_file(input, SettingsReadMode::ThumbnailOnly, passed, &holder.port());
    FUZZ_CHECK(same_record(passed, start));
    FUZZ_CHECK(preview.error == kFileOk || preview.error == kFileReadError);
    check_shown(holder, preview);

    // Mode 0 over the defaults: the same thumbnail outcome as mode 1.
    SunSettings loaded = start;
    const SettingsReadResult r = read_settings_file(input, SettingsReadMode::Load, loaded, &holder.port());
    FUZZ_CHECK(r.error == preview.error);
    FUZZ_CHECK(r.thumbnail_shown == preview.thumbnail_shown);
    check_shown(holder, r);

    // The layout goes through the same ints and the thumbnail's bytes: a file it finds
    // complete reads without an error.
    const SettingsFileLayout layout = settings_file_layout(input);
    FUZZ_CHECK(layout.error == kFileOk || layout.error == kFileReadError);
    if (layout.error == kFileOk) FUZZ_CHECK(r.error == kFileOk);

    // Saving rounds the scaled floats once; from then on a save and a load give back
    // the same record.
    SunSettings saved = loaded;
    for (int round = 0; round < 2; ++round) {
        const std::vector<uint8_t> copy = settings_file_bytes(saved, nullptr);
        SunSettings back = start;
        FUZZ_CHECK(read_settings_file(std::span<const uint8_t>(copy), SettingsReadMode::Load, back, nullptr).error == kFileOk);
        if (round == 1) FUZZ_CHECK(same_record(back, saved));
        saved = back;
    }
    return 0;
}
