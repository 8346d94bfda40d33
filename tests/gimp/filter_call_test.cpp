// The GIMP plug-in's filter runs through the real PluginMain, editor-free: where the
// settings come from in each run mode, and what a failed run leaves behind.
#include "apps/gimp/filter_call.h"

#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <string>

#include "host/plugin_main.h"
#include "settings/parameter_table.h"
#include "settings/settings_file.h"
#include "sdk/four_cc.h"

namespace corvanthe::gimp {
namespace {

namespace fs = std::filesystem;

hosting::Document picture() {
    hosting::Document doc = hosting::make_document(40, 28, 8, hosting::ColourKind::rgb, false);
    for (std::size_t i = 0; i < doc.pixels.size(); ++i) doc.pixels[i] = uint8_t(i * 7 % 251);
    return doc;
}

// The picture after a run; fails the test when the run fails.
std::vector<uint8_t> filtered(const FilterRequest& request) {
    hosting::Document doc = picture();
    const FilterOutcome outcome = run_filter_on(doc, request, PluginMain);
    EXPECT_TRUE(outcome.ok) << outcome.message;
    return doc.pixels;
}

FilterRequest scripted(const std::string& settings_path, const std::string& json) {
    FilterRequest request;
    request.settings_path = settings_path;
    request.descriptor_json = json;
    return request;
}

FilterRequest from(SettingsSource source) {
    FilterRequest request;
    request.source = source;
    return request;
}

std::string settings_file(const std::string& name, int32_t sun_radius, int32_t glue) {
    SunSettings settings{};
    initialise(settings);
    set_integer(settings, *find_parameter(four_cc("0014")), sun_radius);
    set_integer(settings, *find_parameter(kGlueKey), glue);
    const std::string path = (fs::temp_directory_path() / (name + std::to_string(::getpid()) + ".q4q")).string();
    EXPECT_EQ(write_settings_file(path, settings, nullptr), kFileOk);
    return path;
}

TEST(GimpFilterRun, TheDescriptorTextAppliesOverTheSettingsFile) {
    const std::string radius30_glue5 = settings_file("radius30-glue5-", 30, 5);
    const std::string radius12_glue5 = settings_file("radius12-glue5-", 12, 5);
    const std::vector<uint8_t> layered = filtered(scripted(radius30_glue5, R"({"0014": 12})"));
    EXPECT_EQ(layered, filtered(scripted(radius12_glue5, "")));
    EXPECT_NE(layered, filtered(scripted(radius30_glue5, "")));  // the text's radius counts
    EXPECT_NE(layered, filtered(scripted("", R"({"0014": 12})")));  // and so does the file's glue
    EXPECT_NE(layered, picture().pixels);
    fs::remove(radius30_glue5);
    fs::remove(radius12_glue5);
}

TEST(GimpFilterRun, LastValuesAndTheDialogRepeatTheLastRun) {
    const std::vector<uint8_t> defaults = filtered(scripted("", ""));
    // A centre the cached file keeps exactly (it holds floats as scaled integers).
    const std::vector<uint8_t> last = filtered(scripted("", R"({"0014": 12, "sgky": "sg05", "0050": 0.5})"));
    ASSERT_NE(last, defaults);
    EXPECT_EQ(filtered(from(SettingsSource::last_values)), last);
    // Without a toolkit the dialog is confirmed at once, over the cached settings.
    EXPECT_EQ(filtered(from(SettingsSource::dialog)), last);
}

// Writes over the whole output at Continue, then reports a failure.
void CORVANTHE_HOST_API scribbling_failure(int16_t selector, void* record, intptr_t*, int16_t* result) {
    auto& r = *static_cast<sdk::FilterRecord*>(record);
    if (selector == sdk::kFilterSelectorStart) {
        r.outRect = r.filterRect;
        r.outLoPlane = 0;
        r.outHiPlane = int16_t(r.planes - 1);
    } else if (selector == sdk::kFilterSelectorContinue) {
        std::memset(r.outData, 0xAB, std::size_t(r.outRowBytes) * std::size_t(r.filterRect.bottom));
        r.outRect = sdk::Rect{0, 0, 0, 0};
        *result = 3;
    }
}

TEST(GimpFilterRun, FailuresSayWhyAndLeaveThePictureAsItWas) {
    struct Case {
        FilterRequest request;
        sdk::PluginMainProc plugin;
        const char* said;
    };
    const std::string missing = (fs::temp_directory_path() / "no-such-settings.q4q").string();
    const Case cases[] = {
        {scripted(missing, ""), PluginMain, "no-such-settings.q4q"},
        {scripted("", R"({"0014": 12)"), PluginMain, "JSON"},
        {scripted("", R"({"size": 12})"), PluginMain, "unknown key"},
        {scripted("", ""), scribbling_failure, "result code 3: the filter could not allocate its work buffers"},
    };
    for (const Case& c : cases) {
        hosting::Document doc = picture();
        const FilterOutcome outcome = run_filter_on(doc, c.request, c.plugin);
        EXPECT_FALSE(outcome.ok) << c.said;
        EXPECT_NE(outcome.message.find(c.said), std::string::npos) << outcome.message;
        EXPECT_EQ(doc.pixels, picture().pixels) << c.said;
    }
}

}  // namespace
}  // namespace corvanthe::gimp
