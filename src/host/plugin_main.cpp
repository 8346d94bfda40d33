#include "host/plugin_main.h"

#include "host/host_context.h"
#include "host/host_rects.h"
#include "host/kept_blocks.h"
#include "host/selectors.h"

namespace corvanthe {
namespace {

void* owner_of(void* platform_data) {
    return platform_data ? static_cast<sdk::PlatformData*>(platform_data)->hwnd : nullptr;
}

void run_about(HostContext& context, void* record) {
    if (auto* about = static_cast<sdk::AboutRecord*>(record)) {
        context.basic_suite = about->sSPBasic;
        context.owner_window = owner_of(about->platformData);
    }
    show_about(context);
}

void run_filter_selector(HostContext& context, int16_t selector) {
    switch (selector) {
        case sdk::kFilterSelectorParameters: run_parameters(context); break;
        case sdk::kFilterSelectorPrepare: run_prepare(context); break;
        case sdk::kFilterSelectorStart: run_start(context); break;
        case sdk::kFilterSelectorContinue: run_continue(context); break;
        case sdk::kFilterSelectorFinish: run_finish(context); break;
        default: break;
    }
}

bool known_filter_selector(int16_t selector) {
    return selector >= sdk::kFilterSelectorParameters && selector <= sdk::kFilterSelectorFinish;
}

}  // namespace
}  // namespace corvanthe

extern "C" void CORVANTHE_HOST_API PluginMain(int16_t selector, void* record, intptr_t* data, int16_t* result) {
    using namespace corvanthe;
    HostContext& context = host_context();
    context = HostContext{};
    context.data_cell = data;
    context.result = result;
    try {
        if (selector == sdk::kFilterSelectorAbout) {
            run_about(context, record);
        } else if (auto* filter = static_cast<sdk::FilterRecord*>(record)) {
            context.record = filter;
            opt_into_32bit_coordinates(*filter);
            context.basic_suite = filter->sSPBasic;
            context.owner_window = owner_of(filter->platformData);
            if (known_filter_selector(selector)) set_result(context, sdk::kNoErr);
            run_filter_selector(context, selector);
            unlock_kept_blocks(context);
        }
    } catch (...) {
        // Nothing crosses into the host as an exception: whatever escaped is out of memory,
        // and as after any failed selector no Continue or Finish follows to free the run.
        set_result(context, sdk::kMemFullErr);
        if (context.state) end_run(context);
        if (context.record) unlock_kept_blocks(context);
    }
    context = HostContext{};
}
