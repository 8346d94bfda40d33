#include "host/kept_blocks.h"

#include "host/plugin_state.h"
#include "settings/sun_settings.h"

namespace corvanthe {
namespace {

// Procedures of the handle table by their position (1 = newProc); a host's table
// may be shorter than ours.
enum HandleProc { kNew = 1, kDispose = 2, kGetSize = 3, kLock = 5, kUnlock = 6 };

const sdk::HandleProcs* offered(const sdk::FilterRecord& record, HandleProc needed) {
    const sdk::HandleProcs* procs = record.handleProcs;
    return procs && procs->numHandleProcs >= needed ? procs : nullptr;
}

sdk::Handle data_handle(const HostContext& context) {
    return context.data_cell ? reinterpret_cast<sdk::Handle>(*context.data_cell) : nullptr;
}

// A handle the host can tell is smaller than `bytes` cannot hold its record.
bool too_small(const sdk::FilterRecord& record, sdk::Handle handle, std::size_t bytes) {
    const sdk::HandleProcs* procs = offered(record, kGetSize);
    return procs && procs->getSizeProc && procs->getSizeProc(handle) < static_cast<int32_t>(bytes);
}

struct Provided {
    sdk::Handle handle;  // null when none could be had
    bool fresh;          // newly allocated
};

// A handle that holds at least `bytes`: `handle` itself, or a new one that replaces it.
// Handles travel by value: the record's fields may be packed below their alignment.
Provided provide(const sdk::FilterRecord& record, sdk::Handle handle, std::size_t bytes) {
    if (handle && !too_small(record, handle, bytes)) return {handle, false};
    if (handle) {
        if (const sdk::HandleProcs* procs = offered(record, kDispose); procs && procs->disposeProc)
            procs->disposeProc(handle);
    }
    const sdk::HandleProcs* procs = offered(record, kNew);
    const sdk::Handle fresh = procs && procs->newProc ? procs->newProc(static_cast<int32_t>(bytes)) : nullptr;
    return {fresh, fresh != nullptr};
}

char* lock(const sdk::FilterRecord& record, sdk::Handle handle) {
    const sdk::HandleProcs* procs = offered(record, kLock);
    return procs && procs->lockProc ? procs->lockProc(handle, true) : nullptr;
}

void unlock(const sdk::FilterRecord& record, sdk::Handle handle) {
    const sdk::HandleProcs* procs = offered(record, kUnlock);
    if (handle && procs && procs->unlockProc) procs->unlockProc(handle);
}

}  // namespace

bool kept_blocks_usable(const HostContext& context) {
    const sdk::FilterRecord& record = *context.record;
    const sdk::Handle parameters = record.parameters;
    const sdk::Handle data = data_handle(context);
    return parameters && data && !too_small(record, parameters, sizeof(SunSettings)) &&
           !too_small(record, data, sizeof(PluginState));
}

int16_t allocate_kept_blocks(HostContext& context) {
    sdk::FilterRecord& record = *context.record;
    if (!context.data_cell) return sdk::kMemFullErr;
    const Provided settings = provide(record, record.parameters, sizeof(SunSettings));
    record.parameters = settings.handle;
    const Provided state = provide(record, data_handle(context), sizeof(PluginState));
    *context.data_cell = reinterpret_cast<intptr_t>(state.handle);
    if (!settings.handle || !state.handle) return sdk::kMemFullErr;
    if (const int16_t code = lock_kept_blocks(context)) return code;
    if (settings.fresh) initialise(*context.settings);
    initialise_state(*context.state);
    return sdk::kNoErr;
}

int16_t lock_kept_blocks(HostContext& context) {
    const sdk::FilterRecord& record = *context.record;
    if (!kept_blocks_usable(context)) return sdk::kFilterBadParameters;
    context.settings = reinterpret_cast<SunSettings*>(lock(record, record.parameters));
    context.state = reinterpret_cast<PluginState*>(lock(record, data_handle(context)));
    return context.settings && context.state ? sdk::kNoErr : sdk::kMemFullErr;
}

void unlock_kept_blocks(HostContext& context) {
    const sdk::FilterRecord& record = *context.record;
    unlock(record, data_handle(context));
    unlock(record, record.parameters);
    context.settings = nullptr;
    context.state = nullptr;
}

}  // namespace corvanthe
