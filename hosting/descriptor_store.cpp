#include "hosting/descriptor_store.h"

#include <algorithm>
#include <cstring>
#include <new>
#include <span>

#include "sdk/filter_record.h"

namespace corvanthe::hosting {
namespace {

DescriptorStore* g_store = nullptr;

// The interface's simple reference record: class, key form, then a Str255 name, an
// index, a type and an enumerator.
constexpr std::size_t kSimpleReferenceSize = 4 + 4 + 256 + 4 + 4 + 4;

using Reader = DescriptorStore::Reader;
using Writer = DescriptorStore::Writer;
using sdk::OSErr;

// Runs `read` on the reader's current item when it is of one of the given kinds.
template <typename Read>
OSErr read_current(void* token, std::initializer_list<ItemKind> kinds, Read read) {
    DescriptorStore* store = DescriptorStore::active();
    Reader* reader = store ? store->find_reader(token) : nullptr;
    if (!reader) return kParameterError;
    if (!reader->current) return sdk::kErrMissingParameter;
    if (std::find(kinds.begin(), kinds.end(), reader->current->kind) == kinds.end()) return kWrongDataType;
    return read(*reader->current, *store);
}

OSErr put_item(void* token, const DescriptorItem& item) {
    DescriptorStore* store = DescriptorStore::active();
    Writer* writer = store ? store->find_writer(token) : nullptr;
    if (!writer) return kParameterError;
    try {
        writer->descriptor.put(item);
    } catch (...) {
        return sdk::kMemFullErr;
    }
    return sdk::kNoErr;
}

// A new handle with a copy of the item's bytes for the plug-in, which disposes of it.
OSErr bytes_to_handle(const DescriptorItem& item, DescriptorStore& store, sdk::Handle* out) {
    if (!out) return kParameterError;
    *out = store.handles().allocate_copy(
        std::span(reinterpret_cast<const uint8_t*>(item.bytes.data()), item.bytes.size()));
    return *out ? sdk::kNoErr : sdk::kMemFullErr;
}

// The bytes of a handle the plug-in passes in; false for a handle the host does not own.
bool handle_bytes(sdk::Handle h, std::string& bytes) {
    DescriptorStore* store = DescriptorStore::active();
    if (!store || !h || !store->handles().owns(h)) return false;
    const std::span<uint8_t> span = store->handles().bytes(h);
    bytes.assign(reinterpret_cast<const char*>(span.data()), span.size());
    return true;
}

template <typename T>
T pin(T value, T low, T high) {
    return value < low ? low : (value > high ? high : value);
}

// Read procedures.

sdk::PIReadDescriptor CORVANTHE_HOST_API open_read(sdk::PIDescriptorHandle handle, sdk::DescriptorKeyID* keys) {
    DescriptorStore* store = DescriptorStore::active();
    return store ? store->open_reader(handle, keys) : nullptr;
}

OSErr CORVANTHE_HOST_API close_read(sdk::PIReadDescriptor token) {
    DescriptorStore* store = DescriptorStore::active();
    return store ? store->close_reader(token) : kParameterError;
}

sdk::Boolean CORVANTHE_HOST_API get_key(sdk::PIReadDescriptor token, sdk::DescriptorKeyID* key,
                                        sdk::DescriptorTypeID* type, int32_t* flags) {
    DescriptorStore* store = DescriptorStore::active();
    Reader* reader = store ? store->find_reader(token) : nullptr;
    if (!reader) return false;
    if (reader->next >= reader->descriptor.items.size()) {
        reader->current = nullptr;
        return false;
    }
    reader->current = &reader->descriptor.items[reader->next++];
    if (key) *key = reader->current->key;
    if (type) *type = descriptor_type(*reader->current);
    if (flags) *flags = 0;
    return true;
}

OSErr CORVANTHE_HOST_API get_integer(sdk::PIReadDescriptor token, int32_t* value) {
    return read_current(token, {ItemKind::Integer}, [&](const DescriptorItem& item, DescriptorStore&) {
        if (value) *value = item.integer;
        return sdk::kNoErr;
    });
}

// Integers are taken as floats too, as scripts often write whole numbers.
OSErr CORVANTHE_HOST_API get_float(sdk::PIReadDescriptor token, double* value) {
    return read_current(token, {ItemKind::Float, ItemKind::Integer}, [&](const DescriptorItem& item, DescriptorStore&) {
        if (value) *value = item.kind == ItemKind::Float ? item.number : double(item.integer);
        return sdk::kNoErr;
    });
}

OSErr CORVANTHE_HOST_API get_unit_float(sdk::PIReadDescriptor token, sdk::DescriptorUnitID* unit, double* value) {
    return read_current(token, {ItemKind::UnitFloat}, [&](const DescriptorItem& item, DescriptorStore&) {
        if (unit) *unit = item.type;
        if (value) *value = item.number;
        return sdk::kNoErr;
    });
}

OSErr CORVANTHE_HOST_API get_boolean(sdk::PIReadDescriptor token, sdk::Boolean* value) {
    return read_current(token, {ItemKind::Boolean}, [&](const DescriptorItem& item, DescriptorStore&) {
        if (value) *value = item.integer != 0;
        return sdk::kNoErr;
    });
}

OSErr CORVANTHE_HOST_API get_text(sdk::PIReadDescriptor token, sdk::Handle* text) {
    return read_current(token, {ItemKind::Text}, [&](const DescriptorItem& item, DescriptorStore& store) {
        return bytes_to_handle(item, store, text);
    });
}

OSErr CORVANTHE_HOST_API get_alias(sdk::PIReadDescriptor token, sdk::Handle* alias) {
    return read_current(token, {ItemKind::Alias}, [&](const DescriptorItem& item, DescriptorStore& store) {
        return bytes_to_handle(item, store, alias);
    });
}

OSErr CORVANTHE_HOST_API get_enumerated(sdk::PIReadDescriptor token, sdk::DescriptorEnumID* value) {
    return read_current(token, {ItemKind::Enumerated}, [&](const DescriptorItem& item, DescriptorStore&) {
        if (value) *value = item.value;
        return sdk::kNoErr;
    });
}

OSErr CORVANTHE_HOST_API get_class(sdk::PIReadDescriptor token, sdk::DescriptorClassID* type) {
    return read_current(token, {ItemKind::Class}, [&](const DescriptorItem& item, DescriptorStore&) {
        if (type) *type = item.type;
        return sdk::kNoErr;
    });
}

OSErr CORVANTHE_HOST_API get_simple_reference(sdk::PIReadDescriptor token, void* reference) {
    return read_current(token, {ItemKind::Reference}, [&](const DescriptorItem& item, DescriptorStore&) {
        if (reference) std::memcpy(reference, item.bytes.data(), std::min(item.bytes.size(), kSimpleReferenceSize));
        return sdk::kNoErr;
    });
}

OSErr CORVANTHE_HOST_API get_object(sdk::PIReadDescriptor token, sdk::DescriptorClassID* type,
                                    sdk::PIDescriptorHandle* object) {
    return read_current(token, {ItemKind::Object}, [&](const DescriptorItem& item, DescriptorStore& store) {
        if (type) *type = item.type;
        return bytes_to_handle(item, store, object);
    });
}

OSErr CORVANTHE_HOST_API get_count(sdk::PIReadDescriptor token, uint32_t* count) {
    return read_current(token, {ItemKind::Count}, [&](const DescriptorItem& item, DescriptorStore&) {
        if (count) *count = uint32_t(item.integer);
        return sdk::kNoErr;
    });
}

OSErr CORVANTHE_HOST_API get_string(sdk::PIReadDescriptor token, unsigned char* pascal) {
    return read_current(token, {ItemKind::String}, [&](const DescriptorItem& item, DescriptorStore&) {
        if (pascal) {
            const std::size_t length = std::min<std::size_t>(item.bytes.size(), 255);
            pascal[0] = uint8_t(length);
            std::memcpy(pascal + 1, item.bytes.data(), length);
        }
        return sdk::kNoErr;
    });
}

OSErr CORVANTHE_HOST_API get_pinned_integer(sdk::PIReadDescriptor token, int32_t low, int32_t high, int32_t* value) {
    return read_current(token, {ItemKind::Integer}, [&](const DescriptorItem& item, DescriptorStore&) {
        if (value) *value = pin(item.integer, low, high);
        return sdk::kNoErr;
    });
}

OSErr CORVANTHE_HOST_API get_pinned_float(sdk::PIReadDescriptor token, const double* low, const double* high,
                                          double* value) {
    return read_current(token, {ItemKind::Float}, [&](const DescriptorItem& item, DescriptorStore&) {
        if (value) *value = low && high ? pin(item.number, *low, *high) : item.number;
        return sdk::kNoErr;
    });
}

OSErr CORVANTHE_HOST_API get_pinned_unit_float(sdk::PIReadDescriptor token, const double* low, const double* high,
                                               sdk::DescriptorUnitID* unit, double* value) {
    return read_current(token, {ItemKind::UnitFloat}, [&](const DescriptorItem& item, DescriptorStore&) {
        if (unit) *unit = item.type;
        if (value) *value = low && high ? pin(item.number, *low, *high) : item.number;
        return sdk::kNoErr;
    });
}

// Write procedures.

sdk::PIWriteDescriptor CORVANTHE_HOST_API open_write() {
    DescriptorStore* store = DescriptorStore::active();
    return store ? store->open_writer() : nullptr;
}

OSErr CORVANTHE_HOST_API close_write(sdk::PIWriteDescriptor token, sdk::PIDescriptorHandle* handle) {
    DescriptorStore* store = DescriptorStore::active();
    return store ? store->close_writer(token, handle) : kParameterError;
}

OSErr CORVANTHE_HOST_API put_integer(sdk::PIWriteDescriptor token, sdk::DescriptorKeyID key, int32_t value) {
    return put_item(token, {.key = key, .kind = ItemKind::Integer, .integer = value});
}

OSErr CORVANTHE_HOST_API put_float(sdk::PIWriteDescriptor token, sdk::DescriptorKeyID key, const double* value) {
    if (!value) return kParameterError;
    return put_item(token, {.key = key, .kind = ItemKind::Float, .number = *value});
}

OSErr CORVANTHE_HOST_API put_unit_float(sdk::PIWriteDescriptor token, sdk::DescriptorKeyID key,
                                        sdk::DescriptorUnitID unit, const double* value) {
    if (!value) return kParameterError;
    return put_item(token, {.key = key, .kind = ItemKind::UnitFloat, .number = *value, .type = unit});
}

OSErr CORVANTHE_HOST_API put_boolean(sdk::PIWriteDescriptor token, sdk::DescriptorKeyID key, sdk::Boolean value) {
    return put_item(token, {.key = key, .kind = ItemKind::Boolean, .integer = value ? 1 : 0});
}

OSErr put_bytes_of_handle(sdk::PIWriteDescriptor token, sdk::DescriptorKeyID key, ItemKind kind, uint32_t type,
                          sdk::Handle h) {
    DescriptorItem item{.key = key, .kind = kind, .type = type};
    try {
        if (!handle_bytes(h, item.bytes)) return kParameterError;
    } catch (...) {
        return sdk::kMemFullErr;
    }
    return put_item(token, item);
}

OSErr CORVANTHE_HOST_API put_text(sdk::PIWriteDescriptor token, sdk::DescriptorKeyID key, sdk::Handle text) {
    return put_bytes_of_handle(token, key, ItemKind::Text, 0, text);
}

OSErr CORVANTHE_HOST_API put_alias(sdk::PIWriteDescriptor token, sdk::DescriptorKeyID key, sdk::Handle alias) {
    return put_bytes_of_handle(token, key, ItemKind::Alias, 0, alias);
}

OSErr CORVANTHE_HOST_API put_enumerated(sdk::PIWriteDescriptor token, sdk::DescriptorKeyID key,
                                        sdk::DescriptorTypeID type, sdk::DescriptorEnumID value) {
    return put_item(token, {.key = key, .kind = ItemKind::Enumerated, .type = type, .value = value});
}

OSErr CORVANTHE_HOST_API put_class(sdk::PIWriteDescriptor token, sdk::DescriptorKeyID key, sdk::DescriptorTypeID type) {
    return put_item(token, {.key = key, .kind = ItemKind::Class, .type = type});
}

OSErr CORVANTHE_HOST_API put_simple_reference(sdk::PIWriteDescriptor token, sdk::DescriptorKeyID key,
                                              const void* reference) {
    if (!reference) return kParameterError;
    DescriptorItem item{.key = key, .kind = ItemKind::Reference};
    try {
        item.bytes.assign(static_cast<const char*>(reference), kSimpleReferenceSize);
    } catch (...) {
        return sdk::kMemFullErr;
    }
    return put_item(token, item);
}

OSErr CORVANTHE_HOST_API put_object(sdk::PIWriteDescriptor token, sdk::DescriptorKeyID key, sdk::DescriptorTypeID type,
                                    sdk::PIDescriptorHandle object) {
    return put_bytes_of_handle(token, key, ItemKind::Object, type, object);
}

OSErr CORVANTHE_HOST_API put_count(sdk::PIWriteDescriptor token, sdk::DescriptorKeyID key, uint32_t count) {
    return put_item(token, {.key = key, .kind = ItemKind::Count, .integer = int32_t(count)});
}

OSErr CORVANTHE_HOST_API put_string(sdk::PIWriteDescriptor token, sdk::DescriptorKeyID key,
                                    const unsigned char* pascal) {
    if (!pascal) return kParameterError;
    DescriptorItem item{.key = key, .kind = ItemKind::String};
    try {
        item.bytes.assign(reinterpret_cast<const char*>(pascal + 1), pascal[0]);
    } catch (...) {
        return sdk::kMemFullErr;
    }
    return put_item(token, item);
}

}  // namespace

DescriptorStore::DescriptorStore(HandleTable& handles) : handles_(handles), previous_(g_store) {
    g_store = this;

    sdk::ReadDescriptorProcs& r = read_procs_;
    r.readDescriptorProcsVersion = sdk::kCurrentReadDescVersion;
    r.numReadDescriptorProcs = sdk::kCurrentReadDescCount;
    r.openReadDescriptorProc = open_read;
    r.closeReadDescriptorProc = close_read;
    r.getKeyProc = get_key;
    r.getIntegerProc = get_integer;
    r.getFloatProc = get_float;
    r.getUnitFloatProc = get_unit_float;
    r.getBooleanProc = get_boolean;
    r.getTextProc = get_text;
    r.getAliasProc = get_alias;
    r.getEnumeratedProc = get_enumerated;
    r.getClassProc = get_class;
    r.getSimpleReferenceProc = get_simple_reference;
    r.getObjectProc = get_object;
    r.getCountProc = get_count;
    r.getStringProc = get_string;
    r.getPinnedIntegerProc = get_pinned_integer;
    r.getPinnedFloatProc = get_pinned_float;
    r.getPinnedUnitFloatProc = get_pinned_unit_float;

    sdk::WriteDescriptorProcs& w = write_procs_;
    w.writeDescriptorProcsVersion = sdk::kCurrentWriteDescVersion;
    w.numWriteDescriptorProcs = sdk::kCurrentWriteDescCount;
    w.openWriteDescriptorProc = open_write;
    w.closeWriteDescriptorProc = close_write;
    w.putIntegerProc = put_integer;
    w.putFloatProc = put_float;
    w.putUnitFloatProc = put_unit_float;
    w.putBooleanProc = put_boolean;
    w.putTextProc = put_text;
    w.putAliasProc = put_alias;
    w.putEnumeratedProc = put_enumerated;
    w.putClassProc = put_class;
    w.putSimpleReferenceProc = put_simple_reference;
    w.putObjectProc = put_object;
    w.putCountProc = put_count;
    w.putStringProc = put_string;
    w.putScopedClassProc = put_class;
    w.putScopedObjectProc = put_object;
}

DescriptorStore::~DescriptorStore() {
    if (g_store == this) g_store = previous_;
}

DescriptorStore* DescriptorStore::active() { return g_store; }

DescriptorSeam DescriptorStore::seam(int16_t play_info) {
    return {.read_procs = &read_procs_, .write_procs = &write_procs_, .play_info = play_info};
}

sdk::Handle DescriptorStore::make_handle(const Descriptor& descriptor) {
    return handles_.allocate_copy(encode_descriptor(descriptor));
}

std::optional<Descriptor> DescriptorStore::read_handle(sdk::Handle handle) const {
    if (!handle || !handles_.owns(handle)) return std::nullopt;
    return decode_descriptor(handles_.bytes(handle));
}

DescriptorStore::Reader* DescriptorStore::open_reader(sdk::Handle handle, const uint32_t* keys) {
    try {
        std::optional<Descriptor> descriptor = read_handle(handle);
        if (!descriptor) return nullptr;
        auto reader = std::make_unique<Reader>();
        reader->descriptor = std::move(*descriptor);
        for (const uint32_t* key = keys; key && *key; ++key) reader->wanted.push_back(*key);
        readers_.push_back(std::move(reader));
        ++readers_opened_;
        return readers_.back().get();
    } catch (...) {
        return nullptr;
    }
}

DescriptorStore::Reader* DescriptorStore::find_reader(void* token) {
    for (auto& reader : readers_)
        if (reader.get() == token) return reader.get();
    return nullptr;
}

// errMissingParameter when a key the plug-in asked for is not in the descriptor.
sdk::OSErr DescriptorStore::close_reader(void* token) {
    const auto it = std::find_if(readers_.begin(), readers_.end(), [&](auto& r) { return r.get() == token; });
    if (it == readers_.end()) return kParameterError;
    bool all_found = true;
    for (uint32_t key : (*it)->wanted) all_found = all_found && (*it)->descriptor.find(key);
    readers_.erase(it);
    return all_found ? sdk::kNoErr : sdk::kErrMissingParameter;
}

DescriptorStore::Writer* DescriptorStore::open_writer() {
    try {
        writers_.push_back(std::make_unique<Writer>());
        ++writers_opened_;
        return writers_.back().get();
    } catch (...) {
        return nullptr;
    }
}

DescriptorStore::Writer* DescriptorStore::find_writer(void* token) {
    for (auto& writer : writers_)
        if (writer.get() == token) return writer.get();
    return nullptr;
}

sdk::OSErr DescriptorStore::close_writer(void* token, sdk::Handle* handle) {
    const auto it = std::find_if(writers_.begin(), writers_.end(), [&](auto& w) { return w.get() == token; });
    if (it == writers_.end()) return kParameterError;
    sdk::Handle made = nullptr;
    try {
        made = make_handle((*it)->descriptor);
    } catch (...) {
    }
    writers_.erase(it);
    if (handle) *handle = made;
    else handles_.release(made);
    return made ? sdk::kNoErr : sdk::kMemFullErr;
}

}  // namespace corvanthe::hosting
