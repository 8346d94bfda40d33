#include "settings/big_endian_file.h"

#include <cstring>

namespace corvanthe {

BigEndianReader::~BigEndianReader() { close(); }

void BigEndianReader::close() {
    if (file_) std::fclose(file_);
    file_ = nullptr;
    memory_ = nullptr;
    memory_left_ = 0;
    ended_ = error_ = false;
}

int16_t BigEndianReader::open(const std::string& path) {
    close();
    file_ = path.empty() ? nullptr : open_file(path, "rb");
    return file_ ? kFileOk : kFileCannotOpen;
}

void BigEndianReader::open(const uint8_t* data, std::size_t size) {
    close();
    memory_ = data;
    memory_left_ = data ? size : 0;
    ended_ = !data;
}

bool BigEndianReader::read_bytes(uint8_t* data, std::size_t size) {
    if (ended_ || (!file_ && !memory_)) return false;
    if (!file_) {
        if (size > memory_left_) {
            ended_ = true;  // as a file's short read: nothing more comes
            return false;
        }
        if (size > 0) std::memcpy(data, memory_, size);
        memory_ += size;
        memory_left_ -= size;
        return true;
    }
    if (std::fread(data, 1, size, file_) != size) {
        ended_ = true;
        error_ = std::ferror(file_) != 0;
        return false;
    }
    return true;
}

bool BigEndianReader::read_int(int32_t& value) {
    uint8_t b[4];
    if (!read_bytes(b, sizeof b)) return false;
    value = static_cast<int32_t>(static_cast<uint32_t>(b[0]) << 24 | static_cast<uint32_t>(b[1]) << 16 |
                                 static_cast<uint32_t>(b[2]) << 8 | b[3]);
    return true;
}

BigEndianWriter::~BigEndianWriter() { discard(); }

void BigEndianWriter::discard() {
    memory_ = nullptr;
    abandon_replacement(file_);
}

int16_t BigEndianWriter::open(const std::string& path) {
    discard();
    error_ = false;
    return start_replacement(path, file_) ? kFileOk : kFileCannotOpen;
}

void BigEndianWriter::open(std::vector<uint8_t>& out) {
    discard();
    error_ = false;
    memory_ = &out;
}

void BigEndianWriter::write_bytes(const uint8_t* data, std::size_t size) {
    if (memory_) {
        if (size > 0) memory_->insert(memory_->end(), data, data + size);
        return;
    }
    if (!file_.stream || error_ || size == 0) return;
    if (std::fwrite(data, 1, size, file_.stream) != size) error_ = true;
}

void BigEndianWriter::write_int(int32_t value) {
    const uint32_t v = static_cast<uint32_t>(value);
    const uint8_t b[4] = {static_cast<uint8_t>(v >> 24), static_cast<uint8_t>(v >> 16), static_cast<uint8_t>(v >> 8),
                          static_cast<uint8_t>(v)};
    write_bytes(b, sizeof b);
}

int16_t BigEndianWriter::commit() {
    if (memory_) {
        memory_ = nullptr;
        return kFileOk;
    }
    if (!file_.stream) return kFileWriteError;
    if (error_) {
        abandon_replacement(file_);
        return kFileWriteError;
    }
    return finish_replacement(file_) ? kFileOk : kFileWriteError;
}

}  // namespace corvanthe
