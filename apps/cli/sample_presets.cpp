// Build tool: turns the list of sample presets into settings files, each with the
// thumbnail of its sun on the built-in picture, as the dialog would save it.
//   corvanthe_sample_presets LIST FOLDER
// LIST: one preset a line, "file name; NAME=VALUE; NAME=VALUE..."; '#' starts a comment.
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "apps/cli/dot_render.h"
#include "apps/cli/evening_sky.h"
#include "apps/cli/preset_thumbnail.h"
#include "apps/cli/run_settings.h"

namespace {

using namespace corvanthe;
using namespace corvanthe::cli;

// The thumbnail shows the picture's centre at 128 x 128: a quarter of the built-in
// picture (box-filtered) renders the same sun, for suns are sized by the picture.
constexpr int kShrink = 4;

hosting::Document shrunk(const hosting::Document& doc) {
    hosting::Document out = hosting::make_document(doc.width / kShrink, doc.height / kShrink, 8, doc.colour, false);
    for (int32_t y = 0; y < out.height; ++y)
        for (int32_t x = 0; x < out.width; ++x)
            for (int p = 0; p < doc.colour_planes(); ++p) {
                int sum = 0;
                for (int dy = 0; dy < kShrink; ++dy)
                    for (int dx = 0; dx < kShrink; ++dx) sum += int(doc.sample(x * kShrink + dx, y * kShrink + dy, p));
                out.set_sample(x, y, p, (sum + kShrink * kShrink / 2) / (kShrink * kShrink));
            }
    return out;
}

std::string trimmed(const std::string& text) {
    const std::size_t first = text.find_first_not_of(" \t\r");
    if (first == std::string::npos) return "";
    return text.substr(first, text.find_last_not_of(" \t\r") - first + 1);
}

std::vector<std::string> fields(const std::string& line) {
    std::vector<std::string> out;
    std::size_t start = 0;
    for (std::size_t semicolon; (semicolon = line.find(';', start)) != std::string::npos; start = semicolon + 1)
        out.push_back(trimmed(line.substr(start, semicolon - start)));
    out.push_back(trimmed(line.substr(start)));
    return out;
}

bool write_preset(const std::vector<std::string>& preset, const hosting::Document& picture,
                  const std::filesystem::path& folder, std::string& error) {
    const std::vector<std::string> sets(preset.begin() + 1, preset.end());
    SunSettings settings{};
    PresetThumbnail thumbnail;
    hosting::Document rendered;
    if (!settings_from("", sets, settings, nullptr, error)) return false;
    if (!render_onto(picture, settings, rendered)) {
        error = "cannot render the thumbnail";
        return false;
    }
    if (!thumbnail.make_from(rendered, error)) return false;
    const std::filesystem::path path = folder / (preset.front() + ".q4q");
    if (write_settings_file(path.string(), settings, &thumbnail) == kFileOk) return true;
    error = "cannot write " + path.string();
    return false;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: corvanthe_sample_presets LIST FOLDER\n");
        return 2;
    }
    std::ifstream list(argv[1]);
    if (!list) {
        std::fprintf(stderr, "corvanthe_sample_presets: cannot read %s\n", argv[1]);
        return 2;
    }
    std::error_code ec;
    std::filesystem::create_directories(argv[2], ec);
    const hosting::Document picture = shrunk(evening_sky());
    int line_number = 0;
    for (std::string line; std::getline(list, line);) {
        ++line_number;
        const std::vector<std::string> preset = fields(line.substr(0, line.find('#')));
        if (preset.front().empty()) continue;
        std::string error;
        if (!write_preset(preset, picture, argv[2], error)) {
            std::fprintf(stderr, "%s:%d: %s\n", argv[1], line_number, error.c_str());
            return 1;
        }
    }
    return 0;
}
