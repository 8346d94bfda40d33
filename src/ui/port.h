#pragma once
// The toolkit behind the dialogs. The plug-in's dialog logic is free of any toolkit;
// it shows its windows through the port in use: the Win32 port inside the Windows
// module, a silent port elsewhere, a recording port in the tests.

namespace corvanthe::ui {

// A modal message box built from a dialog resource: its title, its one text and an
// icon and button that the resource fixes.
struct MessageDialog {
    const char* resource;
    const char* title;
    const char* text;
};

// End code of the main dialog when the user confirmed it.
constexpr int kDialogOk = 3;

class Port {
public:
    virtual ~Port() = default;
    // Shows the message box over the owner window until the user closes it.
    virtual void show_message(void* owner, const MessageDialog& dialog) = 0;
    // Runs the main dialog named by its resource; returns the dialog's end code.
    virtual int run_main_dialog(void* owner, const char* resource) = 0;
};

// The port in use, and a way to replace it (nullptr restores the default one).
Port& port();
void set_port(Port* replacement);

}  // namespace corvanthe::ui
