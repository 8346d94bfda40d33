// The memory-dot map file of the temporary folder with any content, read at Start
// and shown when the dialog opens.
#include "fuzz/fuzz_support.h"
#include "settings/memory_dots.h"
#include "settings/temporary_files.h"

using namespace corvanthe;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static const std::string path = (fuzz::scratch_folder(), memory_dot_map_path());
    FUZZ_CHECK(!path.empty());
    if (!fuzz::write_whole_file(path, data, size)) return 0;

    MemoryDots dots;
    load_dot_map(dots);
    show_kept_dots(dots);
    FUZZ_CHECK(dots.last_dot == -1);
    for (int i = 0; i < kDotCount; ++i) {
        // An entry the file holds is read as it stands; one past its end is empty.
        const std::size_t at = 4 + 4 * static_cast<std::size_t>(i);
        const int32_t expected =
            at + 4 <= size ? static_cast<int32_t>(uint32_t(data[at]) << 24 | uint32_t(data[at + 1]) << 16 |
                                                  uint32_t(data[at + 2]) << 8 | data[at + 3])
                           : 0;
        FUZZ_CHECK(dots.map[i] == expected);
        // Only an entry of exactly 1 shows a filled dot; nothing shows as current.
        FUZZ_CHECK(dots.display[i] == (expected == 1 ? kDotFilled : kDotEmpty));
    }

    // Saved and read back, the map is the same.
    FUZZ_CHECK(save_dot_map(dots) == kFileOk);
    MemoryDots again;
    load_dot_map(again);
    for (int i = 0; i < kDotCount; ++i) FUZZ_CHECK(again.map[i] == dots.map[i]);
    return 0;
}
