#pragma once
// `corvanthe dots list`, `corvanthe dots store N [INPUT] [--from FILE.q4q] [--set
// NAME=VALUE]... [--no-keep]`, `corvanthe dots recall N -o FILE.q4q` and `corvanthe dots
// clear N`: the memory dots of the dialog (numbered 1..25 as it names them), on the same
// dot files and map the plug-in reads.
#include <string>
#include <vector>

#include <CLI/CLI.hpp>

namespace corvanthe::cli {

class DotsCommand {
public:
    // Adds the `dots` subcommand with its four kinds to the command line.
    explicit DotsCommand(CLI::App& app);
    bool chosen() const { return static_cast<bool>(*dots_); }
    // Lists or changes the dots; messages go to stderr. Returns the exit code.
    int run() const;

private:
    int list() const;
    int store() const;
    int recall() const;
    int clear() const;

    CLI::App* dots_;
    CLI::App* list_;
    CLI::App* store_;
    CLI::App* recall_;
    CLI::App* clear_;
    int number_ = 0;
    std::string input_;  // empty: the built-in picture
    std::string from_;
    std::vector<std::string> sets_;
    bool no_keep_ = false;
    std::string output_;
};

}  // namespace corvanthe::cli
