#pragma once
// A port for tests: remembers every message box and main dialog it was asked to show
// and answers the main dialog with a chosen end code. Installs itself while it lives.
#include <string>
#include <vector>

#include "ui/port.h"

namespace corvanthe::ui {

class RecordingPort final : public Port {
public:
    struct Message {
        std::string resource;
        std::string title;
        std::string text;
        void* owner;
    };

    explicit RecordingPort(int main_dialog_answer = kDialogOk) : answer_(main_dialog_answer) { set_port(this); }
    ~RecordingPort() override { set_port(nullptr); }
    RecordingPort(const RecordingPort&) = delete;
    RecordingPort& operator=(const RecordingPort&) = delete;

    void show_message(void* owner, const MessageDialog& dialog) override;
    int run_main_dialog(void* owner, const char* resource) override;

    void answer_main_dialog_with(int code) { answer_ = code; }
    const std::vector<Message>& messages() const { return messages_; }
    const std::vector<std::string>& main_dialogs() const { return main_dialogs_; }

private:
    int answer_;
    std::vector<Message> messages_;
    std::vector<std::string> main_dialogs_;
};

}  // namespace corvanthe::ui
