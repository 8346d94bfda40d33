#pragma once
// Reading and writing the program's own files: 32-bit big-endian integers and
// raw bytes, strictly in order. A reader takes them from a file or from bytes in
// memory alike. A writer goes to a new file beside the target and replaces the
// target only when every byte was written (see ReplacementFile), or into memory.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

#include "platform/files.h"

namespace corvanthe {

class BigEndianReader {
public:
    BigEndianReader() = default;
    BigEndianReader(const BigEndianReader&) = delete;
    BigEndianReader& operator=(const BigEndianReader&) = delete;
    ~BigEndianReader();

    // kFileOk, or kFileCannotOpen when the file cannot be opened for reading.
    int16_t open(const std::string& path);
    // Reads these bytes as the content of a file; they must outlive the reads.
    void open(const uint8_t* data, std::size_t size);
    // False at the end of the file or on a read error; then every later read fails too.
    bool read_int(int32_t& value);
    bool read_bytes(uint8_t* data, std::size_t size);
    bool failed() const { return error_; }  // a read error, as opposed to the end

private:
    void close();

    std::FILE* file_ = nullptr;
    const uint8_t* memory_ = nullptr;  // when reading from memory: the bytes not yet read
    std::size_t memory_left_ = 0;
    bool ended_ = false;
    bool error_ = false;
};

class BigEndianWriter {
public:
    BigEndianWriter() = default;
    BigEndianWriter(const BigEndianWriter&) = delete;
    BigEndianWriter& operator=(const BigEndianWriter&) = delete;
    ~BigEndianWriter();  // an uncommitted file is discarded

    // Starts the new file beside `path`: kFileOk, or kFileCannotOpen.
    int16_t open(const std::string& path);
    // Writes the bytes a file would hold to the end of `out` instead; `out` must
    // outlive the writes.
    void open(std::vector<uint8_t>& out);
    void write_int(int32_t value);
    void write_bytes(const uint8_t* data, std::size_t size);
    // Closes the new file and puts it in place of the target: kFileOk, or
    // kFileWriteError with the target left as it was (in memory: always kFileOk).
    int16_t commit();

private:
    void discard();

    ReplacementFile file_;
    std::vector<uint8_t>* memory_ = nullptr;
    bool error_ = false;
};

}  // namespace corvanthe
