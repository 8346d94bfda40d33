#include "apps/cli/text_file.h"

#include "apps/cli/output_file.h"

#include <fstream>
#include <iterator>

namespace corvanthe::cli {

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
    return write_output_file(
        path,
        [&](const std::string& temporary, std::string&) {
            std::ofstream out(temporary, std::ios::binary | std::ios::trunc);
            out.write(text.data(), std::streamsize(text.size()));
            out.close();
            return bool(out);
        },
        error);
}

}  // namespace corvanthe::cli
