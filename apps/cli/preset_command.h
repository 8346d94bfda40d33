#pragma once
// `corvanthe preset show FILE.q4q [--json]`, `corvanthe preset save FILE.q4q [--from
// FILE.q4q] [--set NAME=VALUE]... [--thumbnail IMAGE]` and `corvanthe preset dice
// FILE.q4q [--from FILE.q4q] [--rand-seed N]`: settings files without the dialog.
#include <cstdint>
#include <string>
#include <vector>

#include <CLI/CLI.hpp>

namespace corvanthe::cli {

class PresetCommand {
public:
    // Adds the `preset` subcommand with its three kinds to the command line.
    explicit PresetCommand(CLI::App& app);
    bool chosen() const { return static_cast<bool>(*preset_); }
    // Shows or writes the file; messages go to stderr. Returns the exit code.
    int run() const;

private:
    int show() const;
    int save() const;
    int dice() const;

    CLI::App* preset_;
    CLI::App* show_;
    CLI::App* save_;
    CLI::App* dice_;
    std::string file_;
    std::string from_;
    std::vector<std::string> sets_;
    std::string thumbnail_;
    uint32_t seed_ = 0;
    CLI::Option* seed_option_ = nullptr;
    bool json_ = false;
};

}  // namespace corvanthe::cli
