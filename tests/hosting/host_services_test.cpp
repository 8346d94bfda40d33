// The FilterRecord a host fills and the services it answers, called the way a plug-in calls them.
#include <gtest/gtest.h>

#include <cstring>
#include <functional>

#include "hosting/host.h"
#include "sdk/four_cc.h"
#include "test_plugins.h"

namespace corvanthe::hosting {
namespace {

// Pointer fields of the packed record are misaligned on 64-bit builds: copy them out
// before gtest binds a reference to them.
template <typename T>
T by_value(T v) {
    return v;
}

// Runs a test body inside Start, where a plug-in uses the services.
std::function<void(sdk::FilterRecord&)> g_body;
void CORVANTHE_HOST_API body_main(int16_t selector, void* record, intptr_t*, int16_t*) {
    if (selector == sdk::kFilterSelectorStart) g_body(*static_cast<sdk::FilterRecord*>(record));
}

RunResult run_in_start(Host& host, std::function<void(sdk::FilterRecord&)> body) {
    g_body = std::move(body);
    return host.run_filter(body_main);
}

struct ModeCase {
    int depth;
    ColourKind colour;
    bool alpha;
    bool mask;
    int16_t image_mode;
    int16_t planes;
    int16_t filter_case;
    int16_t layer_planes;
};

TEST(HostRecord, DescribesTheDocumentAsTheInterfaceDefinesIt) {
    const ModeCase cases[] = {
        {8, ColourKind::grey, false, false, 1, 1, 1, 0},   {8, ColourKind::rgb, false, true, 3, 3, 2, 0},
        {16, ColourKind::grey, true, false, 10, 2, 4, 1},  {16, ColourKind::rgb, true, true, 11, 4, 5, 3},
        {32, ColourKind::grey, false, true, 17, 1, 2, 0},  {32, ColourKind::rgb, true, false, 16, 4, 4, 3},
    };
    for (const ModeCase& c : cases) {
        Document doc = make_document(7, 5, c.depth, c.colour, c.alpha);
        if (c.mask) doc.mask.assign(35, 255);
        Host host(doc);
        host.begin_run();
        const sdk::FilterRecord& r = host.record();
        EXPECT_EQ(r.imageMode, c.image_mode);
        EXPECT_EQ(r.depth, c.depth);
        EXPECT_EQ(r.planes, c.planes);
        EXPECT_EQ(r.filterCase, c.filter_case);
        EXPECT_EQ(r.inLayerPlanes, c.layer_planes);
        EXPECT_EQ(r.outLayerPlanes, c.layer_planes);
        EXPECT_EQ(r.inTransparencyMask, c.alpha ? 1 : 0);
        EXPECT_EQ(r.haveMask, c.mask ? 1 : 0);
        EXPECT_EQ(r.imageSize.h, 7);
        EXPECT_EQ(r.imageSize.v, 5);
        EXPECT_EQ(r.filterRect.right, 7);
        EXPECT_EQ(r.filterRect.bottom, 5);
        host.end_run();
    }
}

TEST(HostRecord, CarriesTheHostsIdentityColoursAndGeometry) {
    Document doc = make_document(40, 30, 8, ColourKind::rgb, false);
    doc.filter_rect = {3, 4, 13, 24};
    doc.float_coord = {100, 200};
    doc.whole_size = {500, 600};
    doc.icc_profile = {1, 2, 3, 4, 5};
    HostOptions o;
    o.host_signature = four_cc("PSP9");
    o.window = reinterpret_cast<void*>(uintptr_t(0xBEEF));
    o.foreground = {0x1200, 0x3400, 0x5600};
    o.background = {0xFFFF, 0x8000, 0x0100};
    o.image_mode = sdk::kModeMultichannel;
    Host host(doc, o);
    host.begin_run();
    const sdk::FilterRecord& r = host.record();
    EXPECT_EQ(r.hostSig, four_cc("PSP9"));
    EXPECT_EQ(static_cast<sdk::PlatformData*>(r.platformData)->hwnd, o.window);
    EXPECT_EQ(by_value(r.sSPBasic), nullptr);
    EXPECT_EQ(r.imageMode, sdk::kModeMultichannel);
    EXPECT_EQ(r.foreground.green, 0x3400);
    EXPECT_EQ(r.backColor[0], 0xFF);
    EXPECT_EQ(r.backColor[1], 0x80);
    EXPECT_EQ(r.foreColor[2], 0x56);
    EXPECT_EQ(r.filterRect.top, 3);
    EXPECT_EQ(r.filterRect.left, 4);
    EXPECT_EQ(r.floatCoord.h, 200);
    EXPECT_EQ(r.wholeSize.v, 500);
    EXPECT_EQ(by_value(r.bigDocumentData), nullptr);
    ASSERT_NE(by_value(r.iCCprofileData), nullptr);
    EXPECT_EQ(r.iCCprofileSize, 5);
    EXPECT_EQ(host.handles().bytes(r.iCCprofileData)[4], 5);
    host.end_run();
    EXPECT_EQ(host.handles().live_count(), 0u);
}

TEST(HostRecord, BigDocumentRecordMirrorsTheGeometryInBothModes) {
    Document doc = make_document(70000, 1, 8, ColourKind::grey, false);
    doc.filter_rect = {0, 65000, 1, 66000};
    for (Coordinates mode : {Coordinates::big, Coordinates::big_flag_clear}) {
        HostOptions o;
        o.coordinates = mode;
        Host host(doc, o);
        host.begin_run();
        const sdk::BigDocumentStruct* big = host.record().bigDocumentData;
        ASSERT_NE(big, nullptr);
        EXPECT_EQ(big->PluginUsing32BitCoordinates, mode == Coordinates::big ? 1 : 0);
        EXPECT_EQ(big->imageSize32.h, 70000);
        EXPECT_EQ(big->filterRect32.left, 65000);
        EXPECT_EQ(big->wholeSize32.h, 70000);
        EXPECT_EQ(host.record().imageSize.h, 32767);  // saturated in the 16-bit field
        host.end_run();
    }
}

TEST(HostServices, OmittedServicesAreNullPointers) {
    HostOptions o;
    o.services = {false, false, false, false, false, false};
    o.descriptors = DescriptorSeam{};
    Host host(make_document(2, 2, 8, ColourKind::grey, false), o);
    host.begin_run();
    const sdk::FilterRecord& r = host.record();
    EXPECT_EQ(by_value(r.advanceState), nullptr);
    EXPECT_EQ(by_value(r.displayPixels), nullptr);
    EXPECT_EQ(by_value(r.colorServices), nullptr);
    EXPECT_EQ(by_value(r.progressProc), nullptr);
    EXPECT_EQ(by_value(r.handleProcs), nullptr);
    EXPECT_EQ(by_value(r.descriptorParameters), nullptr);
    host.end_run();

    Host full(make_document(2, 2, 8, ColourKind::grey, false));
    full.begin_run();
    EXPECT_NE(by_value(full.record().advanceState), nullptr);
    EXPECT_NE(by_value(full.record().handleProcs), nullptr);
    EXPECT_EQ(by_value(full.record().descriptorParameters), nullptr);  // no seam plugged in
    full.end_run();
}

TEST(HostServices, HandleProceduresAndTheirStagedFailures) {
    HostOptions o;
    o.failures.new_handle_fails_from = 3;
    Host host(make_document(2, 2, 8, ColourKind::grey, false), o);
    run_in_start(host, [](sdk::FilterRecord& r) {
        const sdk::HandleProcs& p = *r.handleProcs;
        sdk::Handle a = p.newProc(10);
        sdk::Handle b = p.newProc(20);
        ASSERT_NE(a, nullptr);
        ASSERT_NE(b, nullptr);
        EXPECT_EQ(p.newProc(1), nullptr);  // the third call and every later one fail
        EXPECT_EQ(p.newProc(1), nullptr);
        EXPECT_EQ(p.getSizeProc(b), 20);
        EXPECT_EQ(p.setSizeProc(b, 40), 0);
        EXPECT_EQ(p.getSizeProc(b), 40);
        char* locked = p.lockProc(a, 1);
        ASSERT_NE(locked, nullptr);
        std::memcpy(locked, "kept", 4);
        EXPECT_EQ(p.setSizeProc(a, 100), -108);  // locked blocks do not move
        p.unlockProc(a);
        p.disposeProc(b);
        p.disposeProc(a);
    });
    EXPECT_EQ(host.new_handle_calls(), 4);
    EXPECT_EQ(host.handles().live_count(), 0u);

    HostOptions locking;
    locking.failures.lock_fails = true;
    Host refusing(make_document(2, 2, 8, ColourKind::grey, false), locking);
    run_in_start(refusing, [](sdk::FilterRecord& r) {
        sdk::Handle h = r.handleProcs->newProc(4);
        ASSERT_NE(h, nullptr);
        EXPECT_EQ(r.handleProcs->lockProc(h, 1), nullptr);
    });
}

TEST(HostServices, ProgressDisplayAndColourPickingAreRecorded) {
    HostOptions o;
    std::vector<int32_t> seen;
    o.on_progress = [&](int32_t done, int32_t total) { seen.push_back(done * 100 + total); };
    o.picked_colour = {0x1100, 0x2200, 0x3300};
    Host host(make_document(2, 2, 8, ColourKind::grey, false), o);
    run_in_start(host, [](sdk::FilterRecord& r) {
        r.progressProc(1, 3);
        r.progressProc(3, 3);

        // A 2 × 2 planar RGB map at bounds (10, 20); draw its right column at row 5, column 7.
        uint8_t planes[12] = {1, 2, 3, 4, 11, 12, 13, 14, 21, 22, 23, 24};
        sdk::PSPixelMap map{};
        map.version = 1;
        map.bounds = {10, 20, 12, 22};
        map.imageMode = sdk::kModeRGBColor;
        map.rowBytes = 2;
        map.colBytes = 1;
        map.planeBytes = 4;
        map.baseAddr = planes;
        const sdk::VRect right_column{10, 21, 12, 22};
        EXPECT_EQ(r.displayPixels(&map, &right_column, 5, 7, reinterpret_cast<void*>(uintptr_t(0xDC))), 0);
        const sdk::VRect outside{9, 20, 12, 22};
        EXPECT_EQ(r.displayPixels(&map, &outside, 0, 0, nullptr), -30100);

        unsigned char prompt[] = "\x04Glow";
        sdk::ColorServicesInfo info{};
        info.infoSize = sizeof info;
        info.selector = sdk::kColorServicesChooseColor;
        info.sourceSpace = sdk::kColorServicesRGBSpace;
        info.resultSpace = sdk::kColorServicesRGBSpace;
        info.colorComponents[0] = 200;
        info.colorComponents[1] = 100;
        info.colorComponents[2] = 50;
        info.selectorParameter.pickerPrompt = prompt;
        EXPECT_EQ(r.colorServices(&info), 0);
        EXPECT_EQ(info.colorComponents[0], 0x11);
        EXPECT_EQ(info.colorComponents[1], 0x22);
        EXPECT_EQ(info.colorComponents[2], 0x33);
        info.infoSize = 4;
        EXPECT_EQ(r.colorServices(&info), -30100);
    });
    ASSERT_EQ(host.progress_calls().size(), 2u);
    EXPECT_EQ(host.progress_calls()[1].done, 3);
    EXPECT_EQ(seen, (std::vector<int32_t>{103, 303}));

    ASSERT_EQ(host.canvas().calls().size(), 1u);
    EXPECT_EQ(host.canvas().calls()[0].context, reinterpret_cast<void*>(uintptr_t(0xDC)));
    // Map pixel (row 10, col 21) is byte 1 of each plane; (11, 21) byte 3.
    EXPECT_EQ(host.canvas().at(7, 5, 0), 2);
    EXPECT_EQ(host.canvas().at(7, 5, 1), 12);
    EXPECT_EQ(host.canvas().at(7, 5, 2), 22);
    EXPECT_EQ(host.canvas().at(7, 6, 2), 24);
    EXPECT_EQ(host.canvas().at(6, 5, 0), 0);

    ASSERT_EQ(host.colour_picks().size(), 1u);
    EXPECT_EQ(host.colour_picks()[0].prompt, "Glow");
    EXPECT_EQ(host.colour_picks()[0].offered[0], 200);
}

TEST(HostServices, DescriptorSeamKeepsTheRecordedDescriptorBetweenRuns) {
    HostOptions o;
    o.descriptors = DescriptorSeam{nullptr, nullptr, sdk::plugInDialogSilent};
    Host host(make_document(2, 2, 8, ColourKind::grey, false), o);
    sdk::Handle recorded = nullptr;
    // Finish records a new descriptor in place of the one it was given.
    auto recorder = [](int16_t selector, void* record, intptr_t*, int16_t*) {
        auto& r = *static_cast<sdk::FilterRecord*>(record);
        if (selector != sdk::kFilterSelectorFinish) return;
        sdk::PIDescriptorParameters* d = r.descriptorParameters;
        if (d->descriptor) r.handleProcs->disposeProc(d->descriptor);
        d->descriptor = r.handleProcs->newProc(8);
        d->recordInfo = sdk::plugInDialogOptional;
    };
    ASSERT_EQ(host.run_filter(recorder).result, 0);
    recorded = host.descriptor();
    ASSERT_NE(recorded, nullptr);
    host.begin_run();
    EXPECT_EQ(by_value(host.record().descriptorParameters->descriptor), recorded);
    EXPECT_EQ(host.record().descriptorParameters->playInfo, sdk::plugInDialogSilent);
    host.end_run();
    ASSERT_EQ(host.run_filter(recorder).result, 0);
    EXPECT_FALSE(host.handles().owns(recorded));
    EXPECT_EQ(host.handles().live_count(), 1u);
}

TEST(HostServices, AboutPassesTheAboutRecord) {
    HostOptions o;
    o.window = reinterpret_cast<void*>(uintptr_t(0xA0));
    Host host(make_document(1, 1, 8, ColourKind::grey, false), o);
    static void* seen_window = nullptr;
    auto about = [](int16_t selector, void* record, intptr_t*, int16_t* result) {
        if (selector != sdk::kFilterSelectorAbout) return;
        auto* a = static_cast<sdk::AboutRecord*>(record);
        seen_window = static_cast<sdk::PlatformData*>(a->platformData)->hwnd;
        *result = 7;
    };
    EXPECT_EQ(host.about(about), 7);
    EXPECT_EQ(seen_window, o.window);
}

}  // namespace
}  // namespace corvanthe::hosting
