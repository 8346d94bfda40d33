#include "ui/port.h"

#include "ui/default_port.h"

namespace corvanthe::ui {
namespace {

Port* replaced = nullptr;

}  // namespace

Port& port() { return replaced ? *replaced : default_port(); }

void set_port(Port* replacement) { replaced = replacement; }

}  // namespace corvanthe::ui
