// corvanthe_picgen OUTDIR: writes every picture of the dialog as a PNG file, named by kind and
// number, so that people can look at them.
#include <cstdio>
#include <string>

#include "picture_book.h"
#include "ui/canvas/png_writer.h"

namespace {

const char* kind_name(corvanthe::ui::PictureKind kind) {
    switch (kind) {
        case corvanthe::ui::PictureKind::Bitmap: return "bitmap";
        case corvanthe::ui::PictureKind::Icon: return "icon";
        case corvanthe::ui::PictureKind::Cursor: return "cursor";
    }
    return "picture";
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: corvanthe_picgen OUTDIR\n");
        return 2;
    }
    std::string folder = argv[1];
    int failures = 0;
    for (const corvanthe::pictures::PictureRecipe& recipe : corvanthe::pictures::picture_recipes()) {
        corvanthe::ui::Picture picture = corvanthe::pictures::make_picture(recipe, 1);
        std::string path = folder + "/" + kind_name(recipe.kind) + "_" + std::to_string(recipe.id) + ".png";
        if (!corvanthe::ui::write_png(picture.image, path)) {
            std::fprintf(stderr, "corvanthe_picgen: cannot write %s\n", path.c_str());
            ++failures;
        }
    }
    return failures == 0 ? 0 : 1;
}
