#pragma once
// What the fuzz targets share: a private scratch folder that is also the program's
// temporary folder (or none at all), whole-file writes, and a check that stops the run loudly.
#include <cstddef>
#include <cstdint>
#include <string>

namespace corvanthe::fuzz {

// A folder of this process, made on first use; XDG_CACHE_HOME points into it so that
// the program's temporary folder (cached settings, memory dots) lives there too.
const std::string& scratch_folder();
std::string scratch_path(const std::string& name);

// Leaves the program without a temporary folder (XDG_CACHE_HOME under /dev/null), so
// that a run writes no cached settings, undo or memory-dot files and reads none a
// previous run left: every run starts alike, and no file system work slows it.
void without_temporary_folder();

// Replaces the file with exactly these bytes; false when it cannot.
bool write_whole_file(const std::string& path, const uint8_t* data, std::size_t size);

// A broken invariant: prints it and aborts, which libFuzzer reports as a crash.
[[noreturn]] void fail(const char* what, const char* file, int line);

}  // namespace corvanthe::fuzz

#define FUZZ_CHECK(condition) \
    ((condition) ? (void)0 : ::corvanthe::fuzz::fail(#condition, __FILE__, __LINE__))
