// corvanthe_picgen OUTDIR: writes every picture of the dialog as a PNG file, named by kind and
// number (KIND_ID.png, and KIND_ID@2x.png at twice the size), and contact_sheet.png with all of
// them side by side, so that people can look at them.
#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "picture_book.h"
#include "ui/canvas/label_font.h"
#include "ui/canvas/png_writer.h"
#include "ui/canvas/software_canvas.h"

namespace {

using corvanthe::ui::Picture;
using corvanthe::ui::PictureKind;
using corvanthe::ui::RgbaImage;

const char* kind_name(PictureKind kind) {
    switch (kind) {
        case PictureKind::Bitmap: return "bitmap";
        case PictureKind::Icon: return "icon";
        case PictureKind::Cursor: return "cursor";
    }
    return "picture";
}

struct Named {
    Picture picture;
    std::string caption;  // kind and number
    std::string name;     // what it shows
};

// The pictures in rows on a chequered ground (so that transparency shows), each with its kind,
// number and what it shows under it.
RgbaImage contact_sheet(const std::vector<Named>& pictures) {
    constexpr int32_t kWidth = 1000;
    constexpr int32_t kMargin = 12;
    constexpr int32_t kCaption = 30;
    struct Place {
        int32_t x;
        int32_t y;
    };
    std::vector<Place> places;
    int32_t x = kMargin;
    int32_t y = kMargin;
    int32_t row_height = 0;
    for (const Named& named : pictures) {
        const Picture& picture = named.picture;
        int32_t width = std::max({picture.image.width, corvanthe::ui::label_text_width(named.caption),
                                  corvanthe::ui::label_text_width(named.name)});
        if (x + width + kMargin > kWidth && x > kMargin) {
            x = kMargin;
            y += row_height + kCaption + kMargin;
            row_height = 0;
        }
        places.push_back({x, y});
        x += width + kMargin;
        row_height = std::max(row_height, picture.image.height);
    }
    int32_t height = y + row_height + kCaption + kMargin;
    RgbaImage sheet{kWidth, height, std::vector<uint8_t>(static_cast<size_t>(kWidth) * static_cast<size_t>(height) * 4)};
    corvanthe::ui::SoftwareCanvas canvas(sheet);
    for (int32_t cy = 0; cy < height; cy += 8)
        for (int32_t cx = 0; cx < kWidth; cx += 8)
            canvas.fill({cx, cy, cx + 8, cy + 8}, ((cx + cy) / 8) % 2 == 0 ? 0xFFFFFF : 0xE4E4E4);
    for (size_t i = 0; i < pictures.size(); ++i) {
        const RgbaImage& image = pictures[i].picture.image;
        canvas.image({places[i].x, places[i].y}, image);
        canvas.text({places[i].x, places[i].y + image.height + 3}, pictures[i].caption, 0x000000);
        canvas.text({places[i].x, places[i].y + image.height + 16}, pictures[i].name, 0x606060);
    }
    return sheet;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: corvanthe_picgen OUTDIR\n");
        return 2;
    }
    std::string folder = argv[1];
    int failures = 0;
    auto write = [&](const RgbaImage& image, const std::string& name) {
        std::string path = folder + "/" + name;
        if (!corvanthe::ui::write_png(image, path)) {
            std::fprintf(stderr, "corvanthe_picgen: cannot write %s\n", path.c_str());
            ++failures;
        }
    };
    std::vector<Named> pictures;
    for (const corvanthe::pictures::PictureRecipe& recipe : corvanthe::pictures::picture_recipes()) {
        std::string stem = std::string(kind_name(recipe.kind)) + "_" + std::to_string(recipe.id);
        pictures.push_back({corvanthe::pictures::make_picture(recipe, 1),
                            std::string(kind_name(recipe.kind)) + " " + std::to_string(recipe.id), recipe.name});
        write(pictures.back().picture.image, stem + ".png");
        write(corvanthe::pictures::make_picture(recipe, 2).image, stem + "@2x.png");
    }
    write(contact_sheet(pictures), "contact_sheet.png");
    return failures == 0 ? 0 : 1;
}
