#pragma once
// Shared by the reliability tests: a private temporary folder for the program's files,
// a stand-in renderer that paints every selected pixel of the render rectangle through
// the host image access in the pool's 256 x 256 tiles, and a filter run whose FilterRecord can be
// changed after the host filled it.
#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "hosting/host.h"
#include "host/plugin_state.h"
#include "settings/sun_settings.h"
#include "ui/recording_port.h"

namespace corvanthe::reliability {

// XDG_CACHE_HOME points into a fresh folder for the test (restored afterwards), so that
// the cached settings and memory-dot files land there; the renderer is the stand-in.
class ReliabilityTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    // The program's temporary folder for this test, and what it holds after a run.
    std::filesystem::path program_folder() const { return root_ / "corvanthe"; }
    std::vector<std::string> program_files() const;

    std::filesystem::path root_;
    ui::RecordingPort port;

private:
    std::string old_cache_;
    bool had_cache_ = false;
};

// Pixels the stand-in renderer wrote: (1, 0, 0.5) in colour, 0 in grey, alpha 1.
struct PaintLog {
    int renders = 0;
    int tiles = 0;
};
extern PaintLog paint_log;

// Painted inside the filter rectangle where the mask selects (or everywhere without a
// mask), untouched elsewhere compared with `before`.
::testing::AssertionResult painted_exactly_the_filter_area(const hosting::Document& after,
                                                           const hosting::Document& before);
::testing::AssertionResult unchanged_outside_filter_area(const hosting::Document& after,
                                                         const hosting::Document& before);
// Unchanged outside the filter rectangle and wherever the mask selects nothing.
::testing::AssertionResult unchanged_outside_selection(const hosting::Document& after,
                                                       const hosting::Document& before);

// Samples that are not all zero, and a mask selecting the left half (when asked for).
hosting::Document patterned(int32_t width, int32_t height, int depth, hosting::ColourKind colour, bool transparency,
                            bool mask = false);

// run_filter with `change` applied to the record after the host filled it.
hosting::RunResult run_changed(hosting::Host& host, const std::function<void(sdk::FilterRecord&)>& change,
                               bool with_parameters = false);

const SunSettings& settings_of(hosting::Host& host);
const PluginState& state_of(hosting::Host& host);

}  // namespace corvanthe::reliability
