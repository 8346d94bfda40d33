// The Start selector: the whole filter run on the host's thread.
#include "host/selectors.h"

#include "host/cached_settings_calls.h"
#include "host/dialog_calls.h"
#include "host/host_queries.h"
#include "host/host_rects.h"
#include "host/kept_blocks.h"
#include "host/memory_dot_calls.h"
#include "host/plugin_state.h"
#include "host/render_run.h"
#include "host/scripting.h"
#include "host/undo_calls.h"
#include "host/work_buffers.h"
#include "platform/processors.h"
#include "settings/sun_settings.h"
#include "ui/port.h"

namespace corvanthe {
namespace {

// A refusal the plug-in has told the user about with its own message.
constexpr int16_t kRefused = 1;
constexpr int32_t kExportDocumentKind = 3;

constexpr ui::MessageDialog kRefusal = {
    "REFUSAL2", "Plug-in error",
    "The filter cannot run because your paint program does not support enough of the Photoshop 3.0 "
    "plug-in standard."};
constexpr ui::MessageDialog kModeRefusal = {
    "MODEREFUSAL", "Plug-in error", "Corvanthe works on RGB and grayscale images at 8, 16 or 32 bits per channel."};

// Where the settings of the run start: the last run's, and the fields every Start resets.
void take_last_settings(HostContext& context) {
    SunSettings& s = *context.settings;
    PluginState& state = *context.state;
    if (!descriptor_carries_our_keys(context)) load_cached_settings(context);
    if (state.parameters_ran) {
        state.parameters_ran = 0;
        reset_export_fields(s);
    }
    s.settings_folder[0] = '\0';
    s.pages_folder[0] = '\0';
    s.presets_folder[0] = '\0';
    clear_undo_store(context);
    reload_memory_dot_map();
    s.export_document_kind = kExportDocumentKind;
}

// Nothing is left for the host to process, and the buffers go.
void end_without_render(HostContext& context) {
    context.state->show_dialog = 0;  // the dialog is wanted for this run only
    end_run(context);
    clear_host_rects(*context.record);
}

}  // namespace

void run_start(HostContext& context) {
    if (const int16_t code = lock_kept_blocks(context)) {
        set_result(context, code);
        return;
    }
    sdk::FilterRecord& record = *context.record;
    PluginState& state = *context.state;
    // Where the host has no displayPixels the plug-in draws the preview itself.
    context.settings->host_preview = has_advance_state(record);

    // No message: the host reports a memory failure itself (a box of ours might not open).
    if (!allocate_work_buffers(state)) {
        set_result(context, sdk::kMemFullErr);
        clear_host_rects(record);
        return;
    }
    state.work_block->processor_count = processor_count();
    take_last_settings(context);

    if (!has_advance_state(record)) {
        ui::port().show_message(context.owner_window, kRefusal);
        set_result(context, kRefused);
    } else if (depth_class(record) == HostDepth::kNone) {
        ui::port().show_message(context.owner_window, kModeRefusal);
        set_result(context, kRefused);
    }
    if (result_of(context) != 0) {
        end_without_render(context);
        return;
    }

    // A descriptor the host could not close properly ends the run with its error.
    read_descriptor(context);
    if (result_of(context) != 0) {
        end_without_render(context);
        return;
    }
    bool proceed = true;
    if (state.show_dialog) {
        create_thumbnail(state);  // only the dialog's files and memory dots show it
        save_undo_slot(context);
        proceed = run_main_dialog(context);
    }
    state.show_dialog = 0;

    if (result_of(context) == 0 && proceed) {
        render_run(context, kRenderHostImage);
        if (result_of(context) == 0)
            save_cached_settings(context);
        else
            end_run(context);  // a host calls no Finish after a failed Start
        return;
    }
    // A cancel, unless the host or the dialog already said what ended the run.
    if (result_of(context) == 0) set_result(context, sdk::kUserCanceledErr);
    end_run(context);
}

}  // namespace corvanthe
