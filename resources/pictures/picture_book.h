#pragma once
// The table of every picture the dialog uses: kind, number, size in 96-dpi units, a cursor's hot
// spot, and the code that draws it.
#include <cstdint>
#include <span>

#include "ui/pictures.h"

namespace corvanthe::pictures {

struct PictureRecipe {
    ui::PictureKind kind;
    int32_t id;
    const char* name;  // what it shows, for the generated files
    int32_t width;
    int32_t height;
    ui::Point hot_spot;
    ui::RgbaImage (*draw)(int32_t scale);
};

std::span<const PictureRecipe> picture_recipes();

// The picture drawn at the scale, its hot spot scaled with it.
ui::Picture make_picture(const PictureRecipe& recipe, int32_t scale);

}  // namespace corvanthe::pictures
