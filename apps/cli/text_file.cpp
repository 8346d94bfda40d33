#include "apps/cli/text_file.h"

#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <iterator>

namespace corvanthe::cli {

namespace fs = std::filesystem;

bool read_text_file(const std::string& path, std::size_t max_bytes, std::string& text, std::string& error) {
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        error = "cannot open '" + path + "'";
        return false;
    }
    std::string read;
    char buffer[4096];
    while (in.read(buffer, sizeof buffer) || in.gcount() > 0) {
        read.append(buffer, std::size_t(in.gcount()));
        if (read.size() > max_bytes) {
            error = "'" + path + "' is larger than " + std::to_string(max_bytes) + " bytes";
            return false;
        }
    }
    if (in.bad()) {
        error = "cannot read '" + path + "'";
        return false;
    }
    text = std::move(read);
    return true;
}

bool write_text_file(const std::string& path, const std::string& text, std::string& error) {
    const fs::path target(path);
    fs::path temporary = target;
    temporary.replace_filename("." + target.filename().string() + "." + std::to_string(getpid()) + ".part");
    std::error_code ec;
    {
        std::ofstream out(temporary, std::ios::binary | std::ios::trunc);
        out.write(text.data(), std::streamsize(text.size()));
        out.close();
        if (!out) {
            error = "cannot write '" + path + "'";
            fs::remove(temporary, ec);
            return false;
        }
    }
    fs::rename(temporary, target, ec);
    if (ec) {
        error = "cannot write '" + path + "': " + ec.message();
        fs::remove(temporary, ec);
        return false;
    }
    return true;
}

}  // namespace corvanthe::cli
