#include "hosting/host.h"

#include <cstring>
#include <new>

namespace corvanthe::hosting {

namespace {

Host* g_active = nullptr;

// The record a host hands over is longer than the part we declare.
constexpr size_t kRecordTail = 1024;

int16_t saturate16(int32_t v) { return int16_t(v < -32768 ? -32768 : v > 32767 ? 32767 : v); }

sdk::Rect to_rect(const sdk::VRect& r) {
    return {saturate16(r.top), saturate16(r.left), saturate16(r.bottom), saturate16(r.right)};
}
sdk::VRect to_vrect(const sdk::Rect& r) { return {r.top, r.left, r.bottom, r.right}; }
sdk::Point to_point(const sdk::VPoint& p) { return {saturate16(p.v), saturate16(p.h)}; }
sdk::Fixed to_fixed(double v) { return sdk::Fixed(v * 65536.0 + 0.5); }

int16_t image_mode_of(const Document& doc) {
    const bool grey = doc.colour == ColourKind::grey;
    switch (doc.depth) {
    case 8: return grey ? sdk::kModeGrayScale : sdk::kModeRGBColor;
    case 16: return grey ? sdk::kModeGray16 : sdk::kModeRGB48;
    default: return grey ? sdk::kModeGray32 : sdk::kModeRGB96;
    }
}

int16_t filter_case_of(const Document& doc) {
    if (doc.transparency) {
        return doc.has_mask() ? sdk::kFilterCaseEditableTransparencyWithSelection
                              : sdk::kFilterCaseEditableTransparencyNoSelection;
    }
    return doc.has_mask() ? sdk::kFilterCaseFlatImageWithSelection : sdk::kFilterCaseFlatImageNoSelection;
}

// The procedures in the record. Each forwards to the active host and never lets an
// exception reach the plug-in.
sdk::Boolean CORVANTHE_HOST_API abort_proc() {
    Host* host = Host::active();
    return host && host->abort_requested() ? 1 : 0;
}

sdk::OSErr CORVANTHE_HOST_API advance_state_proc() {
    Host* host = Host::active();
    if (!host) return sdk::kFilterBadParameters;
    try {
        return host->advance_state();
    } catch (...) {
        return sdk::kMemFullErr;
    }
}

void CORVANTHE_HOST_API progress_proc(int32_t done, int32_t total) {
    if (Host* host = Host::active()) {
        try {
            host->progress(done, total);
        } catch (...) {
        }
    }
}

sdk::OSErr CORVANTHE_HOST_API display_pixels_proc(const sdk::PSPixelMap* source, const sdk::VRect* rect, int32_t row,
                                                  int32_t col, void* context) {
    Host* host = Host::active();
    if (!host) return sdk::kFilterBadParameters;
    try {
        return host->display_pixels(source, rect, row, col, context);
    } catch (...) {
        return sdk::kMemFullErr;
    }
}

sdk::OSErr CORVANTHE_HOST_API color_services_proc(sdk::ColorServicesInfo* info) {
    Host* host = Host::active();
    if (!host) return sdk::kFilterBadParameters;
    try {
        return host->color_services(info);
    } catch (...) {
        return sdk::kMemFullErr;
    }
}

sdk::Handle CORVANTHE_HOST_API new_handle_proc(int32_t size) {
    Host* host = Host::active();
    return host ? host->new_handle(size) : nullptr;
}

void CORVANTHE_HOST_API dispose_handle_proc(sdk::Handle h) {
    if (Host* host = Host::active()) host->handles().release(h);
}

int32_t CORVANTHE_HOST_API handle_size_proc(sdk::Handle h) {
    Host* host = Host::active();
    const int32_t size = host ? host->handles().size(h) : -1;
    return size < 0 ? 0 : size;
}

sdk::OSErr CORVANTHE_HOST_API set_handle_size_proc(sdk::Handle h, int32_t size) {
    Host* host = Host::active();
    return host ? host->handles().resize(h, size) : sdk::kMemFullErr;
}

sdk::Ptr CORVANTHE_HOST_API lock_handle_proc(sdk::Handle h, sdk::Boolean) {
    Host* host = Host::active();
    return host ? host->lock_handle(h) : nullptr;
}

void CORVANTHE_HOST_API unlock_handle_proc(sdk::Handle h) {
    if (Host* host = Host::active()) host->handles().unlock(h);
}

void CORVANTHE_HOST_API recover_space_proc(int32_t) {}

// Regular handles belong to the operating system; this host hands out none.
void CORVANTHE_HOST_API dispose_regular_handle_proc(sdk::Handle) {}

// Makes a host the active one for the duration of a plug-in call.
class ActiveScope {
public:
    explicit ActiveScope(Host* host) : previous_(g_active) { g_active = host; }
    ~ActiveScope() { g_active = previous_; }
    ActiveScope(const ActiveScope&) = delete;
    ActiveScope& operator=(const ActiveScope&) = delete;

private:
    Host* previous_;
};

}  // namespace

struct Host::RecordBlock {
    sdk::FilterRecord record;
    unsigned char tail[kRecordTail];
    unsigned char error_string[256];
};

Host* Host::active() { return g_active; }

Host::Host(Document document, HostOptions options)
    : document_(std::move(document)), options_(std::move(options)), block_(new RecordBlock{}) {
    record_ = &block_->record;
    handle_procs_.handleProcsVersion = 1;
    handle_procs_.numHandleProcs = 8;
    handle_procs_.newProc = new_handle_proc;
    handle_procs_.disposeProc = dispose_handle_proc;
    handle_procs_.getSizeProc = handle_size_proc;
    handle_procs_.setSizeProc = set_handle_size_proc;
    handle_procs_.lockProc = lock_handle_proc;
    handle_procs_.unlockProc = unlock_handle_proc;
    handle_procs_.recoverSpaceProc = recover_space_proc;
    handle_procs_.disposeRegularHandleProc = dispose_regular_handle_proc;
}

Host::~Host() {
    if (g_active == this) g_active = nullptr;
}

void Host::set_descriptor(sdk::Handle descriptor) {
    if (descriptor_ && descriptor_ != descriptor) handles_.release(descriptor_);
    descriptor_ = descriptor;
}

sdk::VRect Host::in_rect() const {
    return uses_32bit_coordinates() ? record_->bigDocumentData->inRect32 : to_vrect(record_->inRect);
}
sdk::VRect Host::out_rect() const {
    return uses_32bit_coordinates() ? record_->bigDocumentData->outRect32 : to_vrect(record_->outRect);
}
sdk::VRect Host::mask_rect() const {
    return uses_32bit_coordinates() ? record_->bigDocumentData->maskRect32 : to_vrect(record_->maskRect);
}
bool Host::uses_32bit_coordinates() const {
    const sdk::BigDocumentStruct* big = record_->bigDocumentData;
    return big && big->PluginUsing32BitCoordinates != 0;
}

void Host::fill_record() {
    const Document& doc = document_;
    const HostOptions& o = options_;
    const OfferedServices& s = o.services;
    std::memset(static_cast<void*>(block_.get()), 0, sizeof(RecordBlock));
    sdk::FilterRecord& r = *record_;

    const sdk::VRect filter = doc.effective_filter_rect();
    const sdk::VPoint whole = doc.effective_whole_size();
    const sdk::VPoint size{doc.height, doc.width};
    const int colour_planes = doc.colour_planes();
    const int16_t planes = int16_t(doc.planes());

    r.abortProc = abort_proc;
    r.progressProc = s.progress ? progress_proc : nullptr;
    r.parameters = parameters_;
    r.imageSize = to_point(size);
    r.planes = planes;
    r.filterRect = to_rect(filter);
    r.background = o.background;
    r.foreground = o.foreground;
    r.maxSpace = o.max_space;
    r.inHiPlane = r.outHiPlane = int16_t(planes - 1);
    r.haveMask = doc.has_mask() ? 1 : 0;
    r.autoMask = 1;
    const sdk::RGBColor colours[2] = {o.background, o.foreground};
    for (int k = 0; k < 2; ++k) {
        uint8_t bytes[4] = {uint8_t(colours[k].red >> 8), uint8_t(colours[k].green >> 8),
                            uint8_t(colours[k].blue >> 8), 0};
        std::memcpy(k == 0 ? r.backColor : r.foreColor, bytes, 4);
    }
    r.hostSig = o.host_signature;
    r.imageMode = o.image_mode ? *o.image_mode : image_mode_of(doc);
    r.imageHRes = r.imageVRes = 72 << 16;
    r.isFloating = doc.floating ? 1 : 0;
    r.floatCoord = to_point(doc.float_coord);
    r.wholeSize = to_point(whole);
    // An sRGB monitor.
    r.monitor = {to_fixed(2.2),  to_fixed(0.64), to_fixed(0.33),   to_fixed(0.30), to_fixed(0.60),
                 to_fixed(0.15), to_fixed(0.06), to_fixed(0.3127), to_fixed(0.3290), 0};
    platform_.hwnd = o.window;
    r.platformData = &platform_;
    r.displayPixels = s.display_pixels ? display_pixels_proc : nullptr;
    r.handleProcs = s.handle_procs ? &handle_procs_ : nullptr;

    r.filterCase = filter_case_of(doc);
    r.dummyPlaneValue = -1;
    r.advanceState = s.advance_state ? advance_state_proc : nullptr;
    r.supportsPadding = 1;
    r.inputPadding = r.outputPadding = r.maskPadding = sdk::kPlugInDoesNotWantPadding;
    r.samplingSupport = 2;  // fractional rates
    r.inputRate = r.maskRate = 0x10000;
    r.colorServices = s.color_services ? color_services_proc : nullptr;
    const int16_t layer_planes = int16_t(doc.transparency ? colour_planes : 0);
    const int16_t transparency = int16_t(doc.transparency ? 1 : 0);
    const int16_t non_layer = int16_t(doc.transparency ? 0 : planes);
    r.inLayerPlanes = r.outLayerPlanes = r.absLayerPlanes = layer_planes;
    r.inTransparencyMask = r.outTransparencyMask = r.absTransparencyMask = transparency;
    r.inNonLayerPlanes = r.outNonLayerPlanes = r.absNonLayerPlanes = non_layer;
    r.inTileHeight = r.inTileWidth = r.outTileHeight = r.outTileWidth = 256;
    r.absTileHeight = r.absTileWidth = r.maskTileHeight = r.maskTileWidth = 256;

    if (o.descriptors && s.descriptor_parameters) {
        descriptor_parameters_.descriptorParametersVersion = sdk::kCurrentDescParamsVersion;
        descriptor_parameters_.playInfo = o.descriptors->play_info;
        descriptor_parameters_.recordInfo = sdk::plugInDialogOptional;
        descriptor_parameters_.descriptor = descriptor_;
        descriptor_parameters_.writeDescriptorProcs = o.descriptors->write_procs;
        descriptor_parameters_.readDescriptorProcs = o.descriptors->read_procs;
        r.descriptorParameters = &descriptor_parameters_;
    }
    r.errorString = block_->error_string;
    r.sSPBasic = nullptr;
    r.depth = doc.depth;
    if (!doc.icc_profile.empty()) {
        icc_handle_ = handles_.allocate_copy(doc.icc_profile);
        r.iCCprofileData = icc_handle_;
        r.iCCprofileSize = icc_handle_ ? int32_t(doc.icc_profile.size()) : 0;
        r.canUseICCProfiles = icc_handle_ ? 1 : 0;
    }

    big_document_ = {};
    if (o.coordinates != Coordinates::small) {
        big_document_.PluginUsing32BitCoordinates = o.coordinates == Coordinates::big ? 1 : 0;
        big_document_.imageSize32 = size;
        big_document_.filterRect32 = filter;
        big_document_.floatCoord32 = doc.float_coord;
        big_document_.wholeSize32 = whole;
        r.bigDocumentData = &big_document_;
    }
}

void Host::begin_run() {
    if (in_run_) end_run();
    source_ = document_;
    handles_.set_relocate_on_lock(options_.relocate_unlocked_handles);
    advance_calls_ = 0;
    abort_calls_ = 0;
    new_handle_calls_ = 0;
    progress_.clear();
    picks_.clear();
    canvas_.clear();
    release_buffers();
    fill_record();
    in_run_ = true;
}

void Host::end_run() {
    if (!in_run_) return;
    commit_output();
    release_buffers();
    set_rect_fields();
    if (record_->descriptorParameters) {
        // The plug-in disposes of a descriptor it read and stores the one it records.
        descriptor_ = descriptor_parameters_.descriptor;
        record_info_ = descriptor_parameters_.recordInfo;
    }
    handles_.release(icc_handle_);
    icc_handle_ = nullptr;
    in_run_ = false;
}

int16_t Host::call(sdk::PluginMainProc plugin, int16_t selector) {
    if (!in_run_) begin_run();
    int16_t result = 0;
    {
        ActiveScope scope(this);
        plugin(selector, record_, &data_, &result);
    }
    parameters_ = record_->parameters;
    commit_output();
    return result;
}

RunResult Host::run_filter(sdk::PluginMainProc plugin, bool with_parameters) {
    begin_run();
    RunResult run;
    auto step = [&](int16_t selector) {
        run.selector = selector;
        run.result = call(plugin, selector);
        return run.result == 0;
    };
    bool ok = (!with_parameters || step(sdk::kFilterSelectorParameters)) && step(sdk::kFilterSelectorPrepare);
    if (ok) {
        // Start begins with nothing requested.
        set_rect_fields();
        ok = step(sdk::kFilterSelectorStart);
    }
    for (int continues = 0; ok && !(is_empty(in_rect()) && is_empty(out_rect()) && is_empty(mask_rect()));
         ++continues) {
        if (continues == options_.max_continue_calls) {
            run = {sdk::kFilterBadParameters, sdk::kFilterSelectorContinue};
            ok = false;
            break;
        }
        const int16_t delivered = deliver();
        if (delivered != 0) {
            run = {delivered, sdk::kFilterSelectorContinue};
            ok = false;
            break;
        }
        ok = step(sdk::kFilterSelectorContinue);
    }
    if (ok) step(sdk::kFilterSelectorFinish);
    end_run();
    return run;
}

int16_t Host::about(sdk::PluginMainProc plugin) {
    sdk::AboutRecord about{};
    platform_.hwnd = options_.window;
    about.platformData = &platform_;
    int16_t result = 0;
    ActiveScope scope(this);
    plugin(sdk::kFilterSelectorAbout, &about, &data_, &result);
    return result;
}

// Empty rectangles and no buffers, in both coordinate systems.
void Host::set_rect_fields() {
    sdk::FilterRecord& r = *record_;
    r.inRect = r.outRect = r.maskRect = sdk::Rect{0, 0, 0, 0};
    r.inData = r.outData = r.maskData = nullptr;
    r.inRowBytes = r.outRowBytes = r.maskRowBytes = 0;
    if (r.bigDocumentData) {
        big_document_.inRect32 = big_document_.outRect32 = big_document_.maskRect32 = sdk::VRect{};
    }
}

void Host::release_buffers() {
    in_ = TileBuffer{};
    out_ = TileBuffer{};
    mask_ = TileBuffer{};
}

void Host::commit_output() {
    const bool blend = record_->autoMask && document_.has_mask();
    write_tile(out_, document_, blend ? &source_ : nullptr);
}

sdk::OSErr Host::deliver() {
    commit_output();
    release_buffers();
    sdk::FilterRecord& r = *record_;
    r.inData = r.outData = r.maskData = nullptr;
    r.inRowBytes = r.outRowBytes = r.maskRowBytes = 0;

    const int32_t pad = options_.row_padding;
    const size_t limit = options_.max_buffer_bytes;
    const TileRequest in{in_rect(), r.inLoPlane, r.inHiPlane, r.inputRate, r.inputPadding};
    const TileRequest out{out_rect(), r.outLoPlane, r.outHiPlane, 0x10000, r.outputPadding};
    const TileRequest mask{mask_rect(), 0, 0, r.maskRate, r.maskPadding};
    // The output is blended with the selection as it is written back, so a selection needs buffers.
    sdk::OSErr err = view_tile(source_, in, pad, limit, in_);
    if (err == 0)
        err = document_.has_mask() ? read_tile(document_, out, pad, limit, out_)
                                   : view_tile(document_, out, pad, limit, out_);
    if (err == 0 && r.haveMask) err = read_mask_tile(source_, mask, pad, limit, mask_);
    if (err != 0) {
        release_buffers();
        return err;
    }
    r.inData = in_.data();
    r.inRowBytes = in_.row_bytes;
    r.inColumnBytes = in_.pixel_bytes;
    r.inPlaneBytes = in_.sample_bytes;
    r.outData = out_.data();
    r.outRowBytes = out_.row_bytes;
    r.outColumnBytes = out_.pixel_bytes;
    r.outPlaneBytes = out_.sample_bytes;
    r.maskData = mask_.data();
    r.maskRowBytes = mask_.row_bytes;
    return 0;
}

sdk::OSErr Host::advance_state() {
    ++advance_calls_;
    const FailureInjection& f = options_.failures;
    if (advance_calls_ == f.cancel_at || advance_calls_ == f.advance_error_at) {
        commit_output();
        release_buffers();
        record_->inData = record_->outData = record_->maskData = nullptr;
        return advance_calls_ == f.cancel_at ? sdk::kUserCanceledErr : f.advance_error_code;
    }
    return deliver();
}

bool Host::abort_requested() {
    ++abort_calls_;
    const int from = options_.failures.abort_from;
    return from > 0 && abort_calls_ >= from;
}

void Host::progress(int32_t done, int32_t total) {
    progress_.push_back({done, total});
    if (options_.on_progress) options_.on_progress(done, total);
}

sdk::OSErr Host::display_pixels(const sdk::PSPixelMap* source, const sdk::VRect* rect, int32_t row, int32_t col,
                                void* context) {
    if (!source || !rect) return sdk::kFilterBadParameters;
    if (options_.display) return options_.display(*source, *rect, row, col, context);
    return canvas_.draw(*source, *rect, row, col, context);
}

sdk::OSErr Host::color_services(sdk::ColorServicesInfo* info) {
    if (!info || info->infoSize != int32_t(sizeof(sdk::ColorServicesInfo)) || info->reservedSourceSpaceInfo ||
        info->reservedResultSpaceInfo || info->reserved) {
        return sdk::kFilterBadParameters;
    }
    const bool rgb_result =
        info->resultSpace == sdk::kColorServicesRGBSpace || info->resultSpace == sdk::kColorServicesChosenSpace;
    auto answer = [&](const sdk::RGBColor& c) {
        info->resultSpace = sdk::kColorServicesRGBSpace;
        info->colorComponents[0] = int16_t(c.red >> 8);
        info->colorComponents[1] = int16_t(c.green >> 8);
        info->colorComponents[2] = int16_t(c.blue >> 8);
        info->colorComponents[3] = 0;
        info->resultGamutInfoValid = 1;
        info->resultInGamut = 1;
    };
    switch (info->selector) {
    case sdk::kColorServicesChooseColor: {
        if (!rgb_result || info->sourceSpace != sdk::kColorServicesRGBSpace) return sdk::kFilterBadParameters;
        ColourPick pick;
        if (const unsigned char* p = info->selectorParameter.pickerPrompt) pick.prompt.assign(p + 1, p + 1 + p[0]);
        for (int k = 0; k < 3; ++k) pick.offered[k] = info->colorComponents[k];
        picks_.push_back(pick);
        answer(options_.pick_colour ? options_.pick_colour(pick) : options_.picked_colour);
        return 0;
    }
    case sdk::kColorServicesGetSpecialColor: {
        const int32_t which = info->selectorParameter.specialColorID;
        if (!rgb_result || (which != sdk::kColorServicesForegroundColor && which != sdk::kColorServicesBackgroundColor)) {
            return sdk::kFilterBadParameters;
        }
        answer(which == sdk::kColorServicesForegroundColor ? options_.foreground : options_.background);
        return 0;
    }
    case sdk::kColorServicesConvertColor:
        // RGB to RGB only: the components stay.
        if (info->sourceSpace != sdk::kColorServicesRGBSpace || !rgb_result) return sdk::kFilterBadParameters;
        info->resultSpace = sdk::kColorServicesRGBSpace;
        return 0;
    default:
        return sdk::kFilterBadParameters;
    }
}

sdk::Handle Host::new_handle(int32_t size) {
    ++new_handle_calls_;
    const int from = options_.failures.new_handle_fails_from;
    if (from > 0 && new_handle_calls_ >= from) return nullptr;
    return handles_.allocate(size);
}

sdk::Ptr Host::lock_handle(sdk::Handle h) {
    if (options_.failures.lock_fails) return nullptr;
    return handles_.lock(h);
}

std::string Host::error_string() const {
    const unsigned char* s = block_->error_string;
    return std::string(reinterpret_cast<const char*>(s + 1), s[0]);
}

const char* result_code_meaning(int16_t code) {
    switch (code) {
    case 0: return "success";
    case 1: return "the filter refused to run (the host lacks a service it needs, or the image mode is unsupported)";
    case 3: return "the filter could not allocate its work buffers";
    case sdk::kMemFullErr: return "not enough memory (memFullErr)";
    case sdk::kUserCanceledErr: return "cancelled (userCanceledErr)";
    case sdk::kFilterBadParameters: return "bad parameters (filterBadParameters)";
    case sdk::kFilterBadMode: return "the filter does not support this image mode (filterBadMode)";
    case sdk::kErrMissingParameter: return "a scripting parameter is missing (errMissingParameter)";
    case sdk::kReadErr: return "read error";
    case sdk::kWriteErr: return "write error";
    default: return "an error reported by the filter or the host";
    }
}

}  // namespace corvanthe::hosting
