#include "fuzz/fuzz_support.h"

#include <cstdio>
#include <cstdlib>
#include <unistd.h>

namespace corvanthe::fuzz {
namespace {

std::string make_scratch_folder() {
    const char* base = std::getenv("TMPDIR");
    std::string pattern = std::string(base && *base == '/' ? base : access("/dev/shm", W_OK) == 0 ? "/dev/shm" : "/tmp") +
                          "/corvanthe-fuzz-XXXXXX";
    if (!mkdtemp(pattern.data())) {
        std::perror("mkdtemp");
        std::abort();
    }
    setenv("XDG_CACHE_HOME", pattern.c_str(), 1);
    return pattern + "/";
}

}  // namespace

const std::string& scratch_folder() {
    static const std::string folder = make_scratch_folder();
    return folder;
}

std::string scratch_path(const std::string& name) { return scratch_folder() + name; }

void without_temporary_folder() { setenv("XDG_CACHE_HOME", "/dev/null", 1); }

bool write_whole_file(const std::string& path, const uint8_t* data, std::size_t size) {
    std::FILE* file = std::fopen(path.c_str(), "wb");
    if (!file) return false;
    const bool written = size == 0 || std::fwrite(data, 1, size, file) == size;
    return std::fclose(file) == 0 && written;
}

void fail(const char* what, const char* file, int line) {
    std::fprintf(stderr, "%s:%d: invariant broken: %s\n", file, line, what);
    std::abort();
}

}  // namespace corvanthe::fuzz
