#include "hosting/handle_table.h"

#include <cstdlib>
#include <cstring>
#include <new>

#include "sdk/filter_record.h"

namespace corvanthe::hosting {

namespace {

// malloc of zero bytes may give null; every block gets at least one byte.
char* allocate_bytes(int32_t size) {
    return static_cast<char*>(std::calloc(size_t(size > 0 ? size : 1), 1));
}

}  // namespace

HandleTable::~HandleTable() {
    for (auto& entry : blocks_) std::free(entry.second->pointer);
}

HandleTable::Block* HandleTable::find(sdk::Handle h) const {
    const auto it = blocks_.find(h);
    return it == blocks_.end() ? nullptr : it->second.get();
}

sdk::Handle HandleTable::allocate(int32_t size) {
    if (size < 0) return nullptr;
    auto block = std::unique_ptr<Block>(new (std::nothrow) Block);
    if (!block) return nullptr;
    block->pointer = allocate_bytes(size);
    if (!block->pointer) return nullptr;
    block->size = size;
    const sdk::Handle h = &block->pointer;
    try {
        blocks_.emplace(h, std::move(block));
    } catch (...) {
        std::free(*h);
        return nullptr;
    }
    return h;
}

sdk::Handle HandleTable::allocate_copy(std::span<const uint8_t> bytes) {
    const sdk::Handle h = allocate(int32_t(bytes.size()));
    if (h && !bytes.empty()) std::memcpy(*h, bytes.data(), bytes.size());
    return h;
}

void HandleTable::release(sdk::Handle h) {
    const auto it = blocks_.find(h);
    if (it == blocks_.end()) return;
    std::free(it->second->pointer);
    blocks_.erase(it);
}

bool HandleTable::owns(sdk::Handle h) const { return find(h) != nullptr; }

int32_t HandleTable::size(sdk::Handle h) const {
    const Block* b = find(h);
    return b ? b->size : -1;
}

sdk::OSErr HandleTable::resize(sdk::Handle h, int32_t size) {
    Block* b = find(h);
    if (!b || b->locks > 0 || size < 0) return sdk::kMemFullErr;
    char* grown = static_cast<char*>(std::realloc(b->pointer, size_t(size > 0 ? size : 1)));
    if (!grown) return sdk::kMemFullErr;
    if (size > b->size) std::memset(grown + b->size, 0, size_t(size - b->size));
    b->pointer = grown;
    b->size = size;
    return sdk::kNoErr;
}

sdk::Ptr HandleTable::lock(sdk::Handle h) {
    Block* b = find(h);
    if (!b) return nullptr;
    if (b->locks == 0 && relocate_on_lock_ && !b->moved_since_unlock) {
        char* moved = allocate_bytes(b->size);
        if (!moved) return nullptr;
        std::memcpy(moved, b->pointer, size_t(b->size));
        std::free(b->pointer);
        b->pointer = moved;
    }
    b->moved_since_unlock = true;
    ++b->locks;
    return b->pointer;
}

void HandleTable::unlock(sdk::Handle h) {
    Block* b = find(h);
    if (!b || b->locks == 0) return;
    if (--b->locks == 0) b->moved_since_unlock = false;
}

int HandleTable::lock_count(sdk::Handle h) const {
    const Block* b = find(h);
    return b ? b->locks : 0;
}

std::span<uint8_t> HandleTable::bytes(sdk::Handle h) const {
    const Block* b = find(h);
    if (!b) return {};
    return {reinterpret_cast<uint8_t*>(b->pointer), size_t(b->size)};
}

}  // namespace corvanthe::hosting
