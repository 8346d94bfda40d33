#include "settings/big_endian_file.h"

namespace corvanthe {

BigEndianReader::~BigEndianReader() {
    if (file_) std::fclose(file_);
}

int16_t BigEndianReader::open(const std::string& path) {
    if (file_) std::fclose(file_);
    file_ = path.empty() ? nullptr : open_file(path, "rb");
    ended_ = error_ = false;
    return file_ ? kFileOk : kFileCannotOpen;
}

bool BigEndianReader::read_bytes(uint8_t* data, std::size_t size) {
    if (!file_ || ended_) return false;
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

void BigEndianWriter::discard() { abandon_replacement(file_); }

int16_t BigEndianWriter::open(const std::string& path) {
    discard();
    error_ = false;
    return start_replacement(path, file_) ? kFileOk : kFileCannotOpen;
}

void BigEndianWriter::write_bytes(const uint8_t* data, std::size_t size) {
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
    if (!file_.stream) return kFileWriteError;
    if (error_) {
        abandon_replacement(file_);
        return kFileWriteError;
    }
    return finish_replacement(file_) ? kFileOk : kFileWriteError;
}

}  // namespace corvanthe
