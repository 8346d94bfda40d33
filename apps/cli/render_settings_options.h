#pragma once
// The render command's options for settings, selection and depth.
#include <CLI/CLI.hpp>

#include "apps/cli/render_command.h"

namespace corvanthe::cli {

void add_render_settings_options(CLI::App& command, RenderOptions& options);

}  // namespace corvanthe::cli
