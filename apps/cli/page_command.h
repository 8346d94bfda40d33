#pragma once
// `corvanthe page presets FOLDER -o PAGE.html [--open]` and
// `corvanthe page dots [INPUT] -o PAGE.html [--open]`: the catalogue pages without the dialog.
#include <string>

#include <CLI/CLI.hpp>

namespace corvanthe::cli {

class PageCommand {
public:
    // Adds the `page` subcommand with its two kinds to the command line.
    explicit PageCommand(CLI::App& app);
    bool chosen() const { return static_cast<bool>(*page_); }
    // Writes the chosen page; messages go to stderr. Returns the exit code.
    int run() const;

private:
    CLI::App* page_;
    CLI::App* presets_;
    CLI::App* dots_;
    std::string folder_;
    std::string input_;  // empty: the built-in picture
    std::string output_;
    bool open_ = false;
};

}  // namespace corvanthe::cli
