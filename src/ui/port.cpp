#include "ui/port.h"

#include "ui/silent_port.h"

namespace corvanthe::ui {
namespace {

SilentPort default_port;
Port* current = &default_port;

}  // namespace

Port& port() { return *current; }

void set_port(Port* replacement) { current = replacement ? replacement : &default_port; }

}  // namespace corvanthe::ui
