#include "ui/recording_port.h"

namespace corvanthe::ui {

void RecordingPort::show_message(void* owner, const MessageDialog& dialog) {
    messages_.push_back({dialog.resource ? dialog.resource : "", dialog.title ? dialog.title : "",
                         dialog.text ? dialog.text : "", owner});
}

int RecordingPort::run_main_dialog(void*, const char* resource) {
    main_dialogs_.emplace_back(resource ? resource : "");
    return answer_;
}

}  // namespace corvanthe::ui
