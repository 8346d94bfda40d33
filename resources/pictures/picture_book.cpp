#include "picture_book.h"

#include <memory>
#include <mutex>
#include <vector>

#include "drawings.h"

namespace corvanthe::pictures {
namespace {

using ui::PictureKind;
constexpr PictureKind B = PictureKind::Bitmap;
constexpr PictureKind I = PictureKind::Icon;
constexpr PictureKind C = PictureKind::Cursor;

constexpr PictureRecipe kRecipes[] = {
    {B, 239, "dialog background", 957, 656, {}, dialog_background},
    {B, 101, "slider track, warm", 150, 16, {}, slider_track_warm},
    {B, 102, "slider track, light", 150, 16, {}, slider_track_light},
    {B, 120, "slider knob", 12, 14, {}, slider_knob},
    {B, 156, "direction pad", 85, 83, {}, pad_face},
    {I, 122, "direction marker", 5, 5, {}, pad_marker},
    {B, 203, "dot empty", 32, 32, {}, dot_empty},
    {B, 210, "dot empty, pressed", 32, 32, {}, dot_empty_pressed},
    {B, 215, "dot filled, kept", 32, 32, {}, dot_kept},
    {B, 216, "dot filled, kept, pressed", 32, 32, {}, dot_kept_pressed},
    {B, 213, "dot filled, not kept", 32, 32, {}, dot_unkept},
    {B, 214, "dot filled, not kept, pressed", 32, 32, {}, dot_unkept_pressed},
    {B, 208, "dot current, kept", 32, 32, {}, dot_current_kept},
    {B, 212, "dot current, kept, pressed", 32, 32, {}, dot_current_kept_pressed},
    {B, 202, "dot current, not kept", 32, 32, {}, dot_current_unkept},
    {B, 211, "dot current, not kept, pressed", 32, 32, {}, dot_current_unkept_pressed},
    {B, 217, "dot panel frame", 96, 96, {}, dot_panel_frame},
    {B, 241, "about icon", 48, 48, {}, about_icon},
    {B, 145, "information card", 460, 300, {}, info_card},
    {B, 127, "about banner", 320, 110, {}, about_banner},
    {B, 136, "about suns", 320, 76, {}, about_suns},
    {B, 131, "about maker", 320, 40, {}, about_maker},
    {I, 151, "style normal", 16, 16, {}, icon_style_normal},
    {I, 152, "style flat", 16, 16, {}, icon_style_flat},
    {I, 153, "style eclipse", 16, 16, {}, icon_style_eclipse},
    {I, 231, "glue step", 24, 24, {}, icon_glue_step},
    {I, 240, "load", 24, 24, {}, icon_load},
    {I, 241, "save", 24, 24, {}, icon_save},
    {I, 237, "dice", 24, 24, {}, icon_dice},
    {I, 186, "new seed", 24, 24, {}, icon_new_seed},
    {I, 242, "undo", 24, 24, {}, icon_undo},
    {I, 225, "reset", 24, 24, {}, icon_reset},
    {I, 5, "zoom in", 24, 24, {}, icon_zoom_in},
    {I, 169, "zoom out", 24, 24, {}, icon_zoom_out},
    {I, 235, "info", 24, 24, {}, icon_info},
    {I, 236, "presets page", 24, 24, {}, icon_presets_page},
    {C, 107, "panning hand", 32, 32, {15, 15}, cursor_hand},
    {C, 109, "target", 32, 32, {16, 16}, cursor_target},
};

}  // namespace

std::span<const PictureRecipe> picture_recipes() { return kRecipes; }

ui::Picture make_picture(const PictureRecipe& recipe, int32_t scale) {
    ui::Picture picture;
    picture.kind = recipe.kind;
    picture.id = recipe.id;
    picture.image = recipe.draw(scale);
    // The hot spot's pixel at this scale: the middle of what the unit's pixel became.
    int32_t offset = recipe.kind == PictureKind::Cursor ? scale / 2 : 0;
    picture.hot_spot = ui::Point{recipe.hot_spot.x * scale + offset, recipe.hot_spot.y * scale + offset};
    return picture;
}

}  // namespace corvanthe::pictures

namespace corvanthe::ui {

const Picture* find_picture(PictureKind kind, int32_t id) { return find_picture(kind, id, 1); }

// Each picture is drawn the first time someone asks for it (the background alone takes tens of
// milliseconds) and kept for the life of the process.
const Picture* find_picture(PictureKind kind, int32_t id, int32_t scale) {
    constexpr int32_t kLargestScale = 2;
    if (scale < 1 || scale > kLargestScale)
        return nullptr;
    std::span<const pictures::PictureRecipe> recipes = pictures::picture_recipes();
    static std::mutex drawing;
    static std::vector<std::unique_ptr<Picture>> made(recipes.size() * kLargestScale);
    for (size_t i = 0; i < recipes.size(); ++i) {
        if (recipes[i].kind != kind || recipes[i].id != id)
            continue;
        std::unique_ptr<Picture>& slot = made[i * kLargestScale + static_cast<size_t>(scale - 1)];
        std::lock_guard<std::mutex> lock(drawing);
        if (!slot)
            slot = std::make_unique<Picture>(pictures::make_picture(recipes[i], scale));
        return slot.get();
    }
    return nullptr;
}

}  // namespace corvanthe::ui
