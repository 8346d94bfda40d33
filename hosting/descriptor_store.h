#pragma once
// The host's descriptor procedures: all 18 read and all 16 write procedures over
// descriptors kept in the host's handles (their byte form, hosting/descriptor.h).
// Closing a write descriptor gives a new handle that holds it; reading opens such a
// handle. The procedures reach the store through one process-wide pointer, set while
// the store exists: one store at a time, on the host's thread.
#include <cstdint>
#include <memory>
#include <optional>
#include <vector>

#include "hosting/descriptor.h"
#include "hosting/handle_table.h"
#include "hosting/host_options.h"
#include "sdk/descriptor.h"

namespace corvanthe::hosting {

// errAEWrongDataType: the current item is not of the kind asked for.
constexpr sdk::OSErr kWrongDataType = -1703;
// paramErr: a token the store did not hand out.
constexpr sdk::OSErr kParameterError = -50;

class DescriptorStore {
public:
    explicit DescriptorStore(HandleTable& handles);
    ~DescriptorStore();
    DescriptorStore(const DescriptorStore&) = delete;
    DescriptorStore& operator=(const DescriptorStore&) = delete;

    sdk::ReadDescriptorProcs* read_procs() { return &read_procs_; }
    sdk::WriteDescriptorProcs* write_procs() { return &write_procs_; }
    // The procedures for the host's options, with the given play mode.
    DescriptorSeam seam(int16_t play_info = sdk::plugInDialogDontDisplay);

    // A new handle holding the descriptor (null when memory runs out), and back.
    sdk::Handle make_handle(const Descriptor& descriptor);
    std::optional<Descriptor> read_handle(sdk::Handle handle) const;

    // Tokens handed out and not yet closed, and how many were ever handed out.
    std::size_t open_readers() const { return readers_.size(); }
    std::size_t open_writers() const { return writers_.size(); }
    int readers_opened() const { return readers_opened_; }
    int writers_opened() const { return writers_opened_; }

    // Used by the procedures.
    struct Reader {
        Descriptor descriptor;
        std::vector<uint32_t> wanted;  // the plug-in's key list
        std::size_t next = 0;          // the item that get-key reports next
        const DescriptorItem* current = nullptr;
    };
    struct Writer {
        Descriptor descriptor;
    };
    static DescriptorStore* active();
    Reader* open_reader(sdk::Handle handle, const uint32_t* keys);
    Reader* find_reader(void* token);
    sdk::OSErr close_reader(void* token);
    Writer* open_writer();
    Writer* find_writer(void* token);
    sdk::OSErr close_writer(void* token, sdk::Handle* handle);
    HandleTable& handles() { return handles_; }

private:
    HandleTable& handles_;
    DescriptorStore* previous_;
    sdk::ReadDescriptorProcs read_procs_{};
    sdk::WriteDescriptorProcs write_procs_{};
    std::vector<std::unique_ptr<Reader>> readers_;
    std::vector<std::unique_ptr<Writer>> writers_;
    int readers_opened_ = 0;
    int writers_opened_ = 0;
};

}  // namespace corvanthe::hosting
