#pragma once
// The host's movable memory blocks ("handles"): a handle points at a master pointer that
// points at the block, as on the platforms the interface comes from. The address stays
// put while a block is locked; with relocation switched on, a block that is locked
// again after being unlocked moves, so a plug-in that keeps addresses across unlocks
// is caught.
#include <cstddef>
#include <cstdint>
#include <memory>
#include <span>
#include <unordered_map>

#include "sdk/types.h"

namespace corvanthe::hosting {

class HandleTable {
public:
    HandleTable() = default;
    HandleTable(const HandleTable&) = delete;
    HandleTable& operator=(const HandleTable&) = delete;
    ~HandleTable();

    // A zero-filled block, or null when the memory cannot be had or size is negative.
    sdk::Handle allocate(int32_t size);
    // A block holding a copy of bytes, or null.
    sdk::Handle allocate_copy(std::span<const uint8_t> bytes);
    // Ignores handles it does not own.
    void release(sdk::Handle h);
    bool owns(sdk::Handle h) const;
    // -1 for a handle it does not own.
    int32_t size(sdk::Handle h) const;
    // 0, or -108 when the block cannot grow, is locked or is not ours.
    sdk::OSErr resize(sdk::Handle h, int32_t size);
    sdk::Ptr lock(sdk::Handle h);
    void unlock(sdk::Handle h);
    int lock_count(sdk::Handle h) const;
    std::span<uint8_t> bytes(sdk::Handle h) const;

    size_t live_count() const { return blocks_.size(); }
    void set_relocate_on_lock(bool on) { relocate_on_lock_ = on; }

private:
    struct Block {
        char* pointer = nullptr;  // the master pointer: a handle is its address
        int32_t size = 0;
        int locks = 0;
        bool moved_since_unlock = true;
    };
    Block* find(sdk::Handle h) const;

    std::unordered_map<sdk::Handle, std::unique_ptr<Block>> blocks_;
    bool relocate_on_lock_ = false;
};

}  // namespace corvanthe::hosting
