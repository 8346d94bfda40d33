#include "ui/port.h"

#include "platform/shell.h"
#include "ui/default_port.h"

namespace corvanthe::ui {
namespace {

Port* replaced = nullptr;

}  // namespace

bool Port::choose_colour(void*, const std::string&, Colour&) { return false; }
bool Port::open_file(void*, const FileChoice&, std::string&) { return false; }
bool Port::save_file(void*, const FileChoice&, std::string&) { return false; }
void Port::open_with_desktop(const std::string& target) { corvanthe::open_with_desktop(target); }

Port& port() { return replaced ? *replaced : default_port(); }

void set_port(Port* replacement) { replaced = replacement; }

}  // namespace corvanthe::ui
