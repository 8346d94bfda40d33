#pragma once
// A host of the filter interface over one in-memory document: it fills the
// FilterRecord, answers every host service (handles, advanceState, progress,
// displayPixels, colour services; descriptors through the seam in HostOptions), keeps
// the parameters handle, the data cell and the descriptor between runs, and calls a
// plug-in's entry selector by selector.
//
// The services are plain C procedures, so they reach the host through one process-wide
// pointer that is set while the host calls into a plug-in: one host calls at a time,
// from one thread.
#include <cstdint>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "hosting/display_canvas.h"
#include "hosting/document.h"
#include "hosting/handle_table.h"
#include "hosting/host_options.h"
#include "hosting/tile_buffer.h"
#include "sdk/filter_record.h"

namespace corvanthe::hosting {

struct RunResult {
    int16_t result = 0;    // the first non-zero result, or 0
    int16_t selector = 0;  // the selector that gave it (the last one called on success)
};

struct ProgressCall {
    int32_t done;
    int32_t total;
};

class Host {
public:
    explicit Host(Document document, HostOptions options = {});
    ~Host();
    Host(const Host&) = delete;
    Host& operator=(const Host&) = delete;

    Document& document() { return document_; }
    // Changes take effect at the next begin_run.
    HostOptions& options() { return options_; }
    HandleTable& handles() { return handles_; }

    // A filter run as a host does it: Parameters (when asked for), Prepare, Start,
    // Continue while any of inRect, outRect, maskRect is non-empty, Finish; it stops at
    // the first non-zero result. Output lands in document() as the filter writes it.
    RunResult run_filter(sdk::PluginMainProc plugin, bool with_parameters = false);
    int16_t about(sdk::PluginMainProc plugin);

    // The same step by step: begin_run fills the record from the document and options,
    // call runs one selector and writes pending output back after it, deliver answers
    // the rectangles the plug-in left set (as before a Continue), end_run closes the run.
    void begin_run();
    int16_t call(sdk::PluginMainProc plugin, int16_t selector);
    int16_t deliver();
    void end_run();

    sdk::FilterRecord& record() { return *record_; }
    const sdk::FilterRecord& record() const { return *record_; }
    // The rectangles as the host reads them: the 32-bit fields while the plug-in uses
    // 32-bit coordinates, else the 16-bit ones.
    sdk::VRect in_rect() const;
    sdk::VRect out_rect() const;
    sdk::VRect mask_rect() const;
    bool uses_32bit_coordinates() const;

    // Kept between runs.
    sdk::Handle parameters() const { return parameters_; }
    intptr_t data() const { return data_; }
    // The descriptor to hand over at the next run (the host takes it; null for none),
    // and after a run the one the plug-in recorded.
    sdk::Handle descriptor() const { return descriptor_; }
    void set_descriptor(sdk::Handle descriptor);
    int16_t record_info() const { return record_info_; }

    // What the plug-in did.
    int advance_calls() const { return advance_calls_; }
    int abort_calls() const { return abort_calls_; }
    int new_handle_calls() const { return new_handle_calls_; }
    const std::vector<ProgressCall>& progress_calls() const { return progress_; }
    DisplayCanvas& canvas() { return canvas_; }
    const std::vector<ColourPick>& colour_picks() const { return picks_; }
    // The plug-in's errorString (a Pascal string), empty when it set none.
    std::string error_string() const;

    // The host whose plug-in call is in progress, or null.
    static Host* active();

    // Service entry points (the procedures in the record forward here).
    sdk::OSErr advance_state();
    bool abort_requested();
    void progress(int32_t done, int32_t total);
    sdk::OSErr display_pixels(const sdk::PSPixelMap* source, const sdk::VRect* rect, int32_t row, int32_t col,
                              void* context);
    sdk::OSErr color_services(sdk::ColorServicesInfo* info);
    sdk::Handle new_handle(int32_t size);
    sdk::Ptr lock_handle(sdk::Handle h);

private:
    struct RecordBlock;
    void commit_output();
    void set_rect_fields();
    void release_buffers();
    void fill_record();

    Document document_;
    Document source_;  // the document as the run began: what inData shows
    HostOptions options_;
    HandleTable handles_;
    std::unique_ptr<RecordBlock> block_;
    sdk::FilterRecord* record_ = nullptr;
    sdk::PlatformData platform_{};
    sdk::HandleProcs handle_procs_{};
    sdk::BigDocumentStruct big_document_{};
    sdk::PIDescriptorParameters descriptor_parameters_{};
    sdk::Handle icc_handle_ = nullptr;

    sdk::Handle parameters_ = nullptr;
    intptr_t data_ = 0;
    sdk::Handle descriptor_ = nullptr;
    int16_t record_info_ = 0;
    bool in_run_ = false;

    TileBuffer in_, out_, mask_;
    int advance_calls_ = 0;
    int abort_calls_ = 0;
    int new_handle_calls_ = 0;
    std::vector<ProgressCall> progress_;
    DisplayCanvas canvas_;
    std::vector<ColourPick> picks_;
};

// What a result code means, for messages.
const char* result_code_meaning(int16_t code);

}  // namespace corvanthe::hosting
