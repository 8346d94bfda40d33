// The dialog's preview over the in-process host, driven inside a real Start through PluginMain:
// the preview source is used where the dialog uses it, with the context Start has set up.
#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <vector>

#include "glue/sun_run.h"
#include "host/host_colour_pick.h"
#include "host/host_context.h"
#include "host/pool_render.h"
#include "host/preview_source_host.h"
#include "host/render_call.h"
#include "layers/cell_buffer.h"
#include "layers/glue_write_back.h"
#include "render/pixel_kernel.h"
#include "render/render_prepare.h"
#include "settings/sun_settings.h"
#include "ui/recording_port.h"

namespace corvanthe::testing {
namespace {

using hosting::ColourKind;
using hosting::Document;
using hosting::Host;

// Runs the body once, at the final render of Start (the dialog has ended with OK); every render
// then goes to the pool as usual.
std::function<void(HostContext&)> g_body;
void render_after_body(HostContext& context, const sdk::VRect& rect) {
    if (context.settings->render_mode == 0 && g_body) {
        const auto body = std::move(g_body);
        g_body = nullptr;
        body(context);
    }
    render_on_pool(context, rect);
}

class PreviewTest : public ::testing::Test {
protected:
    void SetUp() override { set_render_proc(render_after_body); }
    void TearDown() override {
        set_render_proc(nullptr);
        g_body = nullptr;
    }

    // A dialog run ended with OK; the body runs inside its Start.
    hosting::RunResult run(Host& host, std::function<void(HostContext&)> body) {
        ui::RecordingPort port(ui::kDialogOk);
        g_body = std::move(body);
        const hosting::RunResult result = run_with_glue(host, kGlue, sdk::plugInDialogDisplay);
        EXPECT_FALSE(g_body) << "the body did not run";
        return result;
    }

    static constexpr int32_t kGlue = 4;
};

// The preview composed without the pool or the host access: the plain kernel's render mode 1 at
// that divisor, each pixel glued over the document's pixel that the host samples for it (image
// pixel left + i × divisor, edge replicated) with its selection, and stored as a byte.
ui::PreviewPicture reference_preview(const Document& doc, const SunSettings& settings, const ui::Rect& visible,
                                     int32_t divisor) {
    RenderRequest request;
    request.rect = {0, 0, doc.width, doc.height};
    request.image_width = doc.width;
    request.image_height = doc.height;
    request.render_mode = 1;
    request.scale_divisor = divisor;
    request.view_origin_x = visible.left;
    request.view_origin_y = visible.top;
    request.depth = DepthClass::Eight;
    auto context = std::make_unique<RenderContext>();
    EXPECT_EQ(render_prepare(*context, settings, request), 0);

    ui::PreviewPicture p;
    p.width = (visible.width() + divisor - 1) / divisor;
    p.height = (visible.height() + divisor - 1) / divisor;
    p.planes = 3;
    p.planar.assign(size_t(p.width) * p.height * 3, 0);
    std::vector<Cell> cells(size_t(p.width + 2) * (p.height + 2));
    CellBuffer buffer;
    buffer.columns = p.width + 2;
    buffer.rows = p.height + 2;
    buffer.cells = cells.data();
    render_piece(*context, {0, 0, p.width, p.height}, buffer);

    GlueSetup glue;
    glue.mode = settings.glue;
    glue.render_mode = 1;
    const size_t plane = size_t(p.width) * p.height;
    for (int32_t j = 0; j < p.height; ++j)
        for (int32_t i = 0; i < p.width; ++i) {
            const int32_t x = std::min(visible.left + i * divisor, doc.width - 1);
            const int32_t y = std::min(visible.top + j * divisor, doc.height - 1);
            const Cell& c = *buffer.cell(i, j);
            const PixelValue host{float(doc.sample(x, y, 0) / 255), float(doc.sample(x, y, 1) / 255),
                                  float(doc.sample(x, y, 2) / 255), 1.0f};
            const float selected = doc.has_mask() ? kByteValues[doc.mask[size_t(y) * doc.width + x]] : 1.0f;
            const PixelValue r = glue_pixel(i, j, {c.colour[0], c.colour[1], c.colour[2], c.colour[3]},
                                            int32_t(c.aux[2]), host, selected, glue);
            uint8_t* at = p.planar.data() + size_t(j) * p.width + i;
            store_sample<1>(at, r.red);
            store_sample<1>(at + plane, r.green);
            store_sample<1>(at + 2 * plane, r.blue);
        }
    return p;
}

size_t differing_bytes(const ui::PreviewPicture& a, const ui::PreviewPicture& b) {
    if (a.width != b.width || a.height != b.height || a.planes != b.planes || a.planar.size() != b.planar.size())
        return size_t(-1);
    size_t count = 0;
    for (size_t i = 0; i < a.planar.size(); ++i) count += a.planar[i] != b.planar[i];
    return count;
}

TEST_F(PreviewTest, TheRenderedPreviewIsTheFiltersResultAtEveryDivisor) {
    const Document doc = test_picture({280, 270, 8, ColourKind::rgb, false, false});
    Host host(doc);
    const ui::Rect visible_1{40, 30, 240, 230};  // the sun's centre lies inside
    ui::PreviewPicture at_1, plain_1;
    SunSettings in_force{};
    const hosting::RunResult result = run(host, [&](HostContext& context) {
        in_force = *context.settings;
        HostPreviewSource source(context);
        EXPECT_EQ(source.render(visible_1, 1, at_1), 0);
        EXPECT_EQ(source.read_plain(visible_1, 1, plain_1), 0);
        struct Case {
            ui::Rect visible;
            int32_t divisor;
        };
        for (const Case& c : {Case{{0, 0, 280, 270}, 3}, Case{{60, 40, 280, 270}, 2}, Case{{0, 0, 280, 270}, 9}}) {
            ui::PreviewPicture picture;
            EXPECT_EQ(source.render(c.visible, c.divisor, picture), 0);
            EXPECT_EQ(differing_bytes(picture, reference_preview(doc, in_force, c.visible, c.divisor)), 0u)
                << "divisor " << c.divisor;
        }
        // Everything the previews changed is put back for the final render.
        EXPECT_EQ(context.settings->scale_divisor, 1);
        EXPECT_EQ(context.settings->preview_offset_x, 0);
        EXPECT_EQ(context.settings->render_mode, 0);
    });
    ASSERT_EQ(result.result, 0);

    // At full size the preview shows exactly what the run wrote over the visible area, and the
    // previews themselves left the document alone.
    ASSERT_EQ(at_1.width, 200);
    ASSERT_EQ(at_1.height, 200);
    ASSERT_EQ(at_1.planes, 3);
    const Document& after = host.document();
    ASSERT_TRUE(after.pixels == expected_after_start(doc, in_force).pixels);
    size_t mismatches = 0;
    for (int32_t j = 0; j < at_1.height; ++j)
        for (int32_t i = 0; i < at_1.width; ++i)
            for (int p = 0; p < 3; ++p)
                mismatches += at_1.planar[(size_t(p) * at_1.height + j) * at_1.width + i] !=
                              after.sample(visible_1.left + i, visible_1.top + j, p);
    EXPECT_EQ(mismatches, 0u);
    // The plain read is the document before the run: the sun is not in it.
    EXPECT_GT(differing_bytes(at_1, plain_1), 1000u);
    for (int32_t j = 0; j < plain_1.height; ++j)
        for (int32_t i = 0; i < plain_1.width; ++i)
            ASSERT_EQ(plain_1.planar[(size_t(2) * plain_1.height + j) * plain_1.width + i],
                      doc.sample(visible_1.left + i, visible_1.top + j, 2));
}

TEST_F(PreviewTest, ThePlainReadTakesEveryPlaneAtTheRateAndStrideAndStopsAtAnError) {
    // 16-bit RGB: 32768 shows as 255 and 16384 as 127; blue differs at every pixel. Rows of the
    // host's buffers are longer than their pixels.
    Document deep = hosting::make_document(11, 7, 16, ColourKind::rgb, false);
    for (int32_t y = 0; y < deep.height; ++y)
        for (int32_t x = 0; x < deep.width; ++x) {
            deep.set_sample(x, y, 0, 32768);
            deep.set_sample(x, y, 1, 16384);
            deep.set_sample(x, y, 2, (x * 7 + y * 11) * 128);
        }
    Host host(deep);
    host.options().row_padding = 5;
    const ui::Rect visible{2, 2, 11, 7};
    run(host, [&](HostContext& context) {
        HostPreviewSource source(context);
        ui::PreviewPicture picture;
        ASSERT_EQ(source.read_plain(visible, 2, picture), 0);
        ASSERT_EQ(picture.width, 5);
        ASSERT_EQ(picture.height, 3);
        ASSERT_EQ(picture.planes, 3);
        for (int32_t j = 0; j < 3; ++j)
            for (int32_t i = 0; i < 5; ++i) {
                const size_t at = size_t(j) * 5 + i;
                const int64_t blue = int64_t(deep.sample(2 + 2 * i, 2 + 2 * j, 2));
                EXPECT_EQ(picture.planar[at], 255);
                EXPECT_EQ(picture.planar[15 + at], 127);
                EXPECT_EQ(picture.planar[30 + at], blue * 255 / 32768) << i << "," << j;
            }

        // An error on the second plane ends the read with it, and it becomes the run's result.
        const int calls = host.advance_calls();
        host.options().failures.advance_error_at = calls + 2;
        host.options().failures.advance_error_code = -1234;
        EXPECT_EQ(source.read_plain(visible, 2, picture), -1234);
        EXPECT_EQ(host.advance_calls(), calls + 2);
        EXPECT_EQ(result_of(context), -1234);
        set_result(context, 0);
    });

    // Floats are held to 0..1 and truncated; a grey document gives one plane.
    Document light = hosting::make_document(4, 1, 32, ColourKind::grey, false);
    const float values[] = {1.5f, -0.2f, 0.5f, 1.0f};
    for (int32_t x = 0; x < 4; ++x) light.set_sample(x, 0, 0, values[x]);
    Host grey_host(light);
    run(grey_host, [&](HostContext& context) {
        ui::PreviewPicture picture;
        ASSERT_EQ(HostPreviewSource(context).read_plain({0, 0, 4, 1}, 1, picture), 0);
        EXPECT_EQ(picture.planes, 1);
        EXPECT_EQ(picture.planar, (std::vector<uint8_t>{255, 0, 127, 255}));
    });
}

TEST_F(PreviewTest, AtFullSizeThePreviewFollowsTheFilterRectangleAndTheFloatingOrigin) {
    Document doc = test_picture({300, 260, 8, ColourKind::rgb, false, false});
    doc.filter_rect = {20, 30, 230, 250};  // top, left, bottom, right
    doc.float_coord = {10, 20};            // v, h
    Host host(doc);
    const ui::Rect visible{50, 40, 190, 180};  // in the filtered area
    ui::PreviewPicture picture;
    SunSettings in_force{};
    ASSERT_EQ(run(host, [&](HostContext& context) {
                  in_force = *context.settings;
                  EXPECT_EQ(HostPreviewSource(context).render(visible, 1, picture), 0);
              }).result,
              0);
    const Document& after = host.document();
    ASSERT_TRUE(after.pixels == expected_after_start(doc, in_force).pixels);
    ASSERT_EQ(picture.width, 140);
    ASSERT_EQ(picture.height, 140);
    size_t mismatches = 0;
    for (int32_t j = 0; j < picture.height; ++j)
        for (int32_t i = 0; i < picture.width; ++i)
            for (int p = 0; p < 3; ++p)
                mismatches += picture.planar[(size_t(p) * picture.height + j) * picture.width + i] !=
                              after.sample(20 + 30 + visible.left + i, 10 + 20 + visible.top + j, p);
    EXPECT_EQ(mismatches, 0u);
}

TEST_F(PreviewTest, WithASelectionThePreviewShowsTheBackdropWhereNothingIsSelected) {
    // The left third is not selected, the middle partly, the right third fully.
    const Document doc = test_picture({240, 200, 8, ColourKind::rgb, false, true});
    Host host(doc);
    const ui::Rect visible{0, 0, 240, 200};
    ui::PreviewPicture picture;
    SunSettings in_force{};
    run(host, [&](HostContext& context) {
        in_force = *context.settings;
        EXPECT_EQ(HostPreviewSource(context).render(visible, 2, picture), 0);
    });
    ASSERT_EQ(differing_bytes(picture, reference_preview(doc, in_force, visible, 2)), 0u);
    for (int32_t j = 0; j < picture.height; ++j)
        for (int32_t i = 0; i < 40; ++i)
            for (int p = 0; p < 3; ++p)
                ASSERT_EQ(picture.planar[(size_t(p) * picture.height + j) * picture.width + i],
                          ((i ^ j) & 8) == 0 ? 255 : 204)
                    << i << "," << j;
}

// A canvas that keeps the pictures drawn on it.
class PictureCanvas final : public ui::Canvas {
public:
    struct Drawn {
        ui::Point at;
        ui::RgbaImage picture;
    };
    void fill(const ui::Rect&, ui::Colour) override {}
    void line(ui::Point, ui::Point, ui::Colour) override {}
    void image(ui::Point at, const ui::RgbaImage& picture) override { drawn.push_back({at, picture}); }
    void text(ui::Point, std::string_view, ui::Colour) override {}
    int32_t text_width(std::string_view) override { return 0; }
    void focus_rect(const ui::Rect&) override {}
    void clip(const ui::Rect&) override {}
    void unclip() override {}
    void* platform_context() override { return &drawn; }

    std::vector<Drawn> drawn;
};

TEST_F(PreviewTest, ShowingAndColourPickingUseTheHostsServicesOnlyWhenOffered) {
    struct Case {
        ColourKind colour;
        int16_t shown_mode;
    };
    for (const Case& c : {Case{ColourKind::grey, sdk::kModeGrayScale}, Case{ColourKind::rgb, sdk::kModeRGBColor}})
        for (const bool offered : {true, false}) {
            SCOPED_TRACE(::testing::Message() << "planes " << int(c.colour) << ", offered " << offered);
            Host host(test_picture({30, 20, 16, c.colour, false, false}));
            host.options().services.display_pixels = offered;
            host.options().services.color_services = offered;
            host.options().pick_colour = [](const hosting::ColourPick&) {
                return sdk::RGBColor{0xAB00, 0xCD12, 0x0100};
            };
            PictureCanvas canvas;
            ui::PreviewPicture picture;
            uint8_t picked[3] = {7, 7, 7};
            bool asked = false;
            run(host, [&](HostContext& context) {
                HostPreviewSource source(context);
                ASSERT_EQ(source.render({0, 0, 30, 20}, 2, picture), 0);
                source.show(picture, {5, 7}, canvas);
                const uint8_t current[3] = {0x12, 0x34, 0x56};
                asked = pick_colour_from_host(context, "Choose the sun color.", current, picked);
            });
            ASSERT_EQ(picture.width, 15);
            ASSERT_EQ(picture.height, 10);
            const int planes = c.colour == ColourKind::grey ? 1 : 3;
            ASSERT_EQ(picture.planes, planes);
            auto shown = [&](int32_t i, int32_t j, int channel) {
                return picture.planar[(size_t(planes == 1 ? 0 : channel) * 10 + j) * 15 + i];
            };

            EXPECT_EQ(asked, offered);
            if (offered) {
                ASSERT_EQ(host.canvas().calls().size(), 1u);
                const hosting::DisplayCall& call = host.canvas().calls()[0];
                EXPECT_EQ(call.image_mode, c.shown_mode);
                EXPECT_TRUE(call.source.top == 0 && call.source.left == 0 && call.source.bottom == 10 &&
                            call.source.right == 15);
                EXPECT_EQ(call.dst_row, 7);
                EXPECT_EQ(call.dst_col, 5);
                EXPECT_EQ(call.context, canvas.platform_context());
                for (int32_t j = 0; j < 10; ++j)
                    for (int32_t i = 0; i < 15; ++i)
                        for (int ch = 0; ch < 3; ++ch) ASSERT_EQ(host.canvas().at(5 + i, 7 + j, ch), shown(i, j, ch));
                EXPECT_TRUE(canvas.drawn.empty());

                ASSERT_EQ(host.colour_picks().size(), 1u);
                EXPECT_EQ(host.colour_picks()[0].prompt, "Choose the sun color.");
                EXPECT_EQ(host.colour_picks()[0].offered[0], 0x12);
                EXPECT_EQ(host.colour_picks()[0].offered[1], 0x34);
                EXPECT_EQ(host.colour_picks()[0].offered[2], 0x56);
                EXPECT_EQ(picked[0], 0xAB);
                EXPECT_EQ(picked[1], 0xCD);
                EXPECT_EQ(picked[2], 0x01);
            } else {
                EXPECT_TRUE(host.canvas().calls().empty());
                ASSERT_EQ(canvas.drawn.size(), 1u);
                const PictureCanvas::Drawn& drawn = canvas.drawn[0];
                EXPECT_EQ(drawn.at.x, 5);
                EXPECT_EQ(drawn.at.y, 7);
                ASSERT_EQ(drawn.picture.width, 15);
                ASSERT_EQ(drawn.picture.height, 10);
                for (int32_t j = 0; j < 10; ++j)
                    for (int32_t i = 0; i < 15; ++i) {
                        const uint8_t* rgba = drawn.picture.pixels.data() + (size_t(j) * 15 + i) * 4;
                        for (int ch = 0; ch < 3; ++ch) ASSERT_EQ(rgba[ch], shown(i, j, ch));
                        ASSERT_EQ(rgba[3], 255);
                    }
                EXPECT_TRUE(host.colour_picks().empty());
                EXPECT_EQ(picked[0], 7);  // untouched
            }
        }
}

}  // namespace
}  // namespace corvanthe::testing
