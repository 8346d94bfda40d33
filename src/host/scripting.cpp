#include "host/scripting.h"

#include <array>

#include "host/plugin_state.h"
#include "sdk/four_cc.h"
#include "settings/parameter_table.h"

namespace corvanthe {
namespace {

using sdk::DescriptorKeyID;
using sdk::OSErr;

// Hosts may mark the keys they find in the list, so every open gets a fresh one.
using KeyList = std::array<DescriptorKeyID, kParameterCount + 1>;

KeyList key_list() {
    KeyList keys{};
    for (std::size_t i = 0; i < kParameters.size(); ++i) keys[i] = kParameters[i].key;
    return keys;  // the last entry stays 0 and ends the list
}

constexpr int kMaxDescriptorKeys = 4096;

bool all_read_procedures_present(const sdk::ReadDescriptorProcs& r) {
    return r.openReadDescriptorProc && r.closeReadDescriptorProc && r.getKeyProc && r.getIntegerProc &&
           r.getFloatProc && r.getUnitFloatProc && r.getBooleanProc && r.getTextProc && r.getAliasProc &&
           r.getEnumeratedProc && r.getClassProc && r.getSimpleReferenceProc && r.getObjectProc &&
           r.getCountProc && r.getStringProc && r.getPinnedIntegerProc && r.getPinnedFloatProc &&
           r.getPinnedUnitFloatProc;
}

bool can_dispose(const sdk::FilterRecord& record) {
    const sdk::HandleProcs* procs = record.handleProcs;
    return procs && procs->numHandleProcs >= 2 && procs->disposeProc;
}

// Opens the recorded descriptor with our key list; null when there is none or the
// host finds nothing for us in it.
sdk::PIReadDescriptor open_reader(const sdk::PIDescriptorParameters& parameters, KeyList& keys) {
    if (!parameters.descriptor) return nullptr;
    return parameters.readDescriptorProcs->openReadDescriptorProc(parameters.descriptor, keys.data());
}

// Reads the current key's value with the procedure of the parameter's type; a value
// the host cannot give leaves the default in place.
void read_value(const sdk::ReadDescriptorProcs& r, sdk::PIReadDescriptor token, const ParameterInfo& p,
                SunSettings& settings) {
    switch (p.type) {
        case ParameterType::ColourChannel:
        case ParameterType::Integer: {
            int32_t value = 0;
            if (r.getIntegerProc(token, &value) == sdk::kNoErr) set_integer(settings, p, value);
            break;
        }
        case ParameterType::Switch: {
            sdk::Boolean value = 0;
            if (r.getBooleanProc(token, &value) == sdk::kNoErr) set_integer(settings, p, value ? 1 : 0);
            break;
        }
        case ParameterType::Float: {
            double value = 0;
            if (r.getFloatProc(token, &value) == sdk::kNoErr) set_float(settings, p, static_cast<float>(value));
            break;
        }
        case ParameterType::Enumeration: {
            sdk::DescriptorEnumID enumerator = 0;
            if (r.getEnumeratedProc(token, &enumerator) == sdk::kNoErr)
                set_integer(settings, p, enumerator_value(p.enum_type, enumerator).value_or(0));
            break;
        }
    }
}

bool write_procedures_present(const sdk::WriteDescriptorProcs& w) {
    return w.openWriteDescriptorProc && w.closeWriteDescriptorProc && w.putIntegerProc && w.putFloatProc &&
           w.putBooleanProc && w.putEnumeratedProc;
}

void write_value(const sdk::WriteDescriptorProcs& w, sdk::PIWriteDescriptor token, const ParameterInfo& p,
                 const SunSettings& settings) {
    switch (p.type) {
        case ParameterType::ColourChannel:
        case ParameterType::Integer: w.putIntegerProc(token, p.key, get_integer(settings, p)); break;
        case ParameterType::Switch: w.putBooleanProc(token, p.key, get_integer(settings, p) != 0); break;
        case ParameterType::Float: {
            const double value = get_float(settings, p);
            w.putFloatProc(token, p.key, &value);
            break;
        }
        case ParameterType::Enumeration:
            w.putEnumeratedProc(token, p.key, p.enum_type, enumerator_key(p.enum_type, get_integer(settings, p)));
            break;
    }
}

}  // namespace

bool scripting_available(const sdk::FilterRecord& record) {
    if (record.hostSig == four_cc("PSP8") || record.hostSig == four_cc("PSP9")) return false;
    const sdk::PIDescriptorParameters* parameters = record.descriptorParameters;
    if (!parameters || parameters->descriptorParametersVersion != sdk::kCurrentDescParamsVersion) return false;
    const sdk::ReadDescriptorProcs* r = parameters->readDescriptorProcs;
    if (!r || r->readDescriptorProcsVersion != sdk::kCurrentReadDescVersion ||
        r->numReadDescriptorProcs < sdk::kCurrentReadDescCount || !all_read_procedures_present(*r))
        return false;
    const sdk::WriteDescriptorProcs* w = parameters->writeDescriptorProcs;
    return w && w->writeDescriptorProcsVersion == sdk::kCurrentWriteDescVersion &&
           w->numWriteDescriptorProcs >= sdk::kCurrentWriteDescCount;
}

bool descriptor_carries_our_keys(const sdk::FilterRecord& record) {
    if (!scripting_available(record)) return false;
    KeyList keys = key_list();
    const sdk::PIDescriptorParameters& parameters = *record.descriptorParameters;
    sdk::PIReadDescriptor token = open_reader(parameters, keys);
    if (!token) return false;
    parameters.readDescriptorProcs->closeReadDescriptorProc(token);  // only asked; read later
    return true;
}

OSErr read_descriptor(sdk::FilterRecord& record, SunSettings& settings, uint8_t& show_dialog) {
    if (!scripting_available(record)) return sdk::kNoErr;
    sdk::PIDescriptorParameters& parameters = *record.descriptorParameters;
    const sdk::ReadDescriptorProcs& r = *parameters.readDescriptorProcs;

    OSErr result = sdk::kNoErr;
    KeyList keys = key_list();
    if (sdk::PIReadDescriptor token = open_reader(parameters, keys)) {
        reset_to_defaults(settings);
        DescriptorKeyID key = 0;
        sdk::DescriptorTypeID type = 0;
        int32_t flags = 0;
        // A broken host whose keys never end is not followed forever.
        for (int n = 0; n < kMaxDescriptorKeys && r.getKeyProc(token, &key, &type, &flags); ++n) {
            if (const ParameterInfo* p = find_parameter(key)) read_value(r, token, *p, settings);
        }
        const OSErr closed = r.closeReadDescriptorProc(token);
        if (closed != sdk::kNoErr && closed != sdk::kErrMissingParameter) result = closed;
        // The descriptor is ours once read; without a dispose procedure the host keeps it.
        if (can_dispose(record)) {
            record.handleProcs->disposeProc(parameters.descriptor);
            parameters.descriptor = nullptr;
        }
    }
    show_dialog = parameters.playInfo == sdk::plugInDialogDisplay;
    return result;
}

void write_descriptor(sdk::FilterRecord& record, const SunSettings& settings) {
    if (!scripting_available(record)) return;
    sdk::PIDescriptorParameters& parameters = *record.descriptorParameters;
    const sdk::WriteDescriptorProcs& w = *parameters.writeDescriptorProcs;
    if (!write_procedures_present(w)) return;

    sdk::PIWriteDescriptor token = w.openWriteDescriptorProc();
    if (!token) return;
    for (const ParameterInfo& p : kParameters) write_value(w, token, p, settings);

    sdk::PIDescriptorHandle written = nullptr;
    const OSErr closed = w.closeWriteDescriptorProc(token, &written);
    if (!written) return;  // nothing new: the recorded descriptor stays
    if (closed != sdk::kNoErr) {
        if (can_dispose(record)) record.handleProcs->disposeProc(written);
        return;
    }
    if (parameters.descriptor && can_dispose(record)) record.handleProcs->disposeProc(parameters.descriptor);
    parameters.descriptor = written;
    parameters.recordInfo = sdk::plugInDialogOptional;
}

bool descriptor_carries_our_keys(const HostContext& context) {
    return context.record && descriptor_carries_our_keys(*context.record);
}

void read_descriptor(HostContext& context) {
    if (!context.record || !context.settings || !context.state) return;
    const OSErr result = read_descriptor(*context.record, *context.settings, context.state->show_dialog);
    if (result != sdk::kNoErr) set_result(context, result);
}

void write_descriptor(HostContext& context) {
    if (context.record && context.settings) write_descriptor(*context.record, *context.settings);
}

}  // namespace corvanthe
