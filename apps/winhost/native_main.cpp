// corvanthe_rawhost: the Linux counterpart of winhost. It runs the plug-in in-process
// over the same raw pixel and descriptor files, and makes those files for the tests.
//   corvanthe_rawhost run IN.raw OUT.raw [--descriptor FILE] [--record FILE]
//   corvanthe_rawhost picture WIDTH HEIGHT DEPTH grey|rgb|grey+alpha|rgb+alpha [mask] OUT.raw
//   corvanthe_rawhost descriptor OUT [KEY=VALUE ...]
//   corvanthe_rawhost pipl FILE        (the properties of a PIPL resource's bytes)
//   corvanthe_rawhost layout           (the dialog's controls: id left top right bottom)
//   corvanthe_rawhost setting FILE KEY (KEY's integer and number in a descriptor file)
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <span>
#include <string>

#include "apps/winhost/command_line.h"
#include "apps/winhost/raw_image.h"
#include "apps/winhost/test_picture.h"
#include "apps/winhost/typed_descriptor.h"
#include "host/plugin_main.h"
#include "hosting/descriptor.h"
#include "sdk/four_cc.h"
#include "ui/layout.h"

namespace {

using namespace corvanthe::winhost;

int usage() {
    std::fprintf(stderr,
                 "usage: corvanthe_rawhost run IN.raw OUT.raw [--descriptor FILE] [--record FILE]\n"
                 "       corvanthe_rawhost picture WIDTH HEIGHT DEPTH grey|rgb|grey+alpha|rgb+alpha [mask] OUT.raw\n"
                 "       corvanthe_rawhost descriptor OUT [KEY=VALUE ...]\n"
                 "       corvanthe_rawhost pipl FILE\n"
                 "       corvanthe_rawhost layout\n"
                 "       corvanthe_rawhost setting FILE KEY\n");
    return 2;
}

int make_picture(int argc, char** argv) {
    if (argc != 7 && argc != 8) return usage();
    PictureSpec spec;
    spec.width = std::atoi(argv[2]);
    spec.height = std::atoi(argv[3]);
    spec.depth = std::atoi(argv[4]);
    const std::string layout = argv[5];
    spec.rgb = layout.rfind("rgb", 0) == 0;
    spec.transparency = layout.size() > 6 && layout.substr(layout.size() - 6) == "+alpha";
    if (argc == 8) {
        if (std::strcmp(argv[6], "mask") != 0) return usage();
        spec.mask = true;
    }
    const auto document = make_test_picture(spec);
    if (!document) {
        std::fprintf(stderr, "no such picture\n");
        return 1;
    }
    return write_file(argv[argc - 1], encode_raw_image(*document)) ? 0 : 1;
}

int make_descriptor(int argc, char** argv) {
    corvanthe::hosting::Descriptor descriptor;
    for (int i = 3; i < argc; ++i) {
        std::string error;
        if (!put_setting(descriptor, argv[i], error)) {
            std::fprintf(stderr, "%s\n", error.c_str());
            return 1;
        }
    }
    return write_file(argv[2], corvanthe::hosting::encode_descriptor(descriptor)) ? 0 : 1;
}

int show_pipl(const char* path) {
    const auto bytes = read_file(path);
    const auto properties = bytes ? corvanthe::hosting::read_pipl(bytes->data(), bytes->size()) : std::nullopt;
    if (!properties) {
        std::fprintf(stderr, "%s is not a property list\n", path);
        return 1;
    }
    std::printf("%s", describe(*properties).c_str());
    return 0;
}

// Where the scripted GUI checks find the controls, in dialog client coordinates.
int print_layout() {
    for (const corvanthe::ui::Placement& p : corvanthe::ui::layout_table())
        std::printf("%d %d %d %d %d\n", p.id, p.place.left, p.place.top, p.place.right, p.place.bottom);
    return 0;
}

int show_setting(const char* path, const std::string& key) {
    const auto bytes = read_file(path);
    const auto descriptor =
        bytes ? corvanthe::hosting::decode_descriptor(std::span<const uint8_t>(bytes->data(), bytes->size()))
              : std::nullopt;
    const corvanthe::hosting::DescriptorItem* item =
        descriptor && key.size() == 4 ? descriptor->find(corvanthe::four_cc_code(key.c_str())) : nullptr;
    if (!item) {
        std::fprintf(stderr, "%s holds no %s\n", path, key.c_str());
        return 1;
    }
    std::printf("%d %g\n", item->integer, item->number);
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc == 2 && std::strcmp(argv[1], "layout") == 0) return print_layout();
    if (argc < 3) return usage();
    const std::string command = argv[1];
    if (command == "run") {
        SilentRun run;
        if (!parse_run_arguments(argc, argv, 2, run)) return usage();
        return report(run_silent(&PluginMain, run));
    }
    if (command == "picture") return make_picture(argc, argv);
    if (command == "descriptor") return make_descriptor(argc, argv);
    if (command == "pipl" && argc == 3) return show_pipl(argv[2]);
    if (command == "setting" && argc == 4) return show_setting(argv[2], argv[3]);
    return usage();
}
