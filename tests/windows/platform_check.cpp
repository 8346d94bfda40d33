// The platform layer's events, threads, folders and files, checked by one program that
// runs on Linux under CTest and, built for Windows, under Wine: each system's
// implementation must behave the same. Exits with the number of failed checks.
#include <algorithm>
#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "platform/event.h"
#include "platform/files.h"
#include "platform/folders.h"
#include "platform/processors.h"
#include "platform/thread.h"
#include "settings/settings_file.h"
#include "settings/temporary_files.h"

#ifdef _WIN32
#include <windows.h>

#include "platform/win32/wide_text.h"
#endif

namespace {

using namespace corvanthe;

int failures = 0;

void check(bool ok, const char* what) {
    std::printf("%s %s\n", ok ? "ok  " : "FAIL", what);
    if (!ok) ++failures;
}

struct Relay {
    EventSet* events;
    int32_t wait_for;
    int32_t answer;
    std::atomic<int> steps{0};
};

// Waits for one event, then signals another: the main thread and the worker take turns.
void relay(void* argument) {
    auto* r = static_cast<Relay*>(argument);
    r->events->wait(r->wait_for);
    r->steps.fetch_add(1);
    r->events->set(r->answer);
}

void count_up(void* argument) { static_cast<std::atomic<int>*>(argument)->fetch_add(1); }

void check_events() {
    EventSet events;
    check(!events.create(0), "no set of zero events");
    check(events.create(4), "a set of four events");
    events.set(2);
    events.set(3);
    check(events.wait_any(0, 4) == 2, "wait-any gives the lowest signalled event");
    check(events.wait_any(0, 4) == 3, "and clears it, so the next wait gives the other");
    events.set(1);
    events.reset(1);
    events.set(0);
    check(events.wait_any(0, 2) == 0, "a reset event does not fire");

    // More events than the kernel waits for at once.
    EventSet many;
    check(many.create(150), "a set of 150 events");
    many.set(140);
    many.set(120);
    check(many.wait_any(100, 50) == 120, "wait-any over 50 events from 100 gives the lowest");
    check(many.wait_any(70, 80) == 140, "and over 80 events the one left");

    // A wait over more than 64 events that begins before the event is set still wakes.
    Relay r{&many, 0, 130};
    Thread worker;
    check(worker.start(relay, &r), "a thread starts for the late event");
    many.set(0);
    check(many.wait_any(50, 100) == 130, "wait-any over 100 events wakes for an event set later");
    worker.join();

    check(many.wait_any(100, 51) == -1, "wait-any beyond the set fails with -1");
    EventSet none;
    check(none.wait_any(0, 1) == -1, "wait-any on a set never made fails with -1");
}

void check_threads() {
    EventSet events;
    events.create(2);
    Relay r{&events, 0, 1};
    Thread worker;
    check(worker.start(relay, &r), "a thread starts");
    events.set(0);
    events.wait(1);
    check(r.steps.load() == 1, "the thread waited for its event and answered");
    worker.join();
    worker.join();  // a second join does nothing

    std::atomic<int> counter{0};
    {
        Thread threads[8];
        for (Thread& t : threads) t.start(count_up, &counter);
    }  // each joins as it goes
    check(counter.load() == 8, "eight threads each ran once and were joined");
}

void check_folders() {
    check(processor_count() >= 1, "at least one processor");
    const std::string temporary = temporary_folder();
    check(!temporary.empty() && (temporary.back() == '/' || temporary.back() == '\\'),
          "the temporary folder ends in a separator");
    const std::string desktop = desktop_folder();
    check(desktop.empty() || desktop.back() == '/' || desktop.back() == '\\',
          "the desktop folder, when there is one, ends in a separator");
}

bool listed(const std::string& folder, const std::string& name) {
    std::vector<std::string> names;
    return list_folder_files(folder, names) && std::find(names.begin(), names.end(), name) != names.end();
}

// A user whose folders hold characters beyond the system's ANSI code page keeps the
// cached settings (and so the dots and undo, which live beside them): the temporary
// folder, the files in it and the names listed all carry the same UTF-8 text.
void check_user_characters() {
    const std::string name = "Corvanthe \xCE\xA9\xCE\xBB \xE6\x97\xA5 caf\xC3\xA9";  // Greek, CJK, Latin-1
#ifdef _WIN32
    wchar_t base[MAX_PATH + 1];
    const DWORD n = GetTempPathW(MAX_PATH + 1, base);
    const std::string expected = utf8_from_wide(std::wstring_view(base, n)) + name + "\\";
    CreateDirectoryW(wide_from_utf8(expected).c_str(), nullptr);
    SetEnvironmentVariableW(L"TMP", wide_from_utf8(expected).c_str());
    const std::string folder = temporary_folder();
    check(folder == expected, "the temporary folder keeps characters beyond the ANSI code page");
#else
    std::string root = "/tmp/corvanthe-check-XXXXXX";
    if (!mkdtemp(root.data())) return;
    setenv("XDG_CACHE_HOME", (root + "/" + name).c_str(), 1);
    const std::string folder = temporary_folder();
    check(folder == root + "/" + name + "/corvanthe/", "the temporary folder keeps a cache folder of any name");
#endif
    SunSettings settings{};
    initialise(settings);
    settings.sun_radius = 77;
    check(save_cached_settings(settings, nullptr) == kFileOk, "the cached settings are written there");
    SunSettings back{};
    initialise(back);
    check(load_cached_settings(back, nullptr).error == kFileOk && back.sun_radius == 77,
          "and read back from there");
    check(listed(folder, "Corvanthe cached settings D"), "the folder lists the cached settings");

    const std::string preset = folder + name + ".q4q";
    check(write_settings_file(preset, settings, nullptr) == kFileOk && file_exists(preset),
          "a settings file of such a name is written");
    check(listed(folder, name + ".q4q"), "and listed under its name");
    std::vector<std::string> none;
    check(!list_folder_files(folder + "missing", none), "a missing folder cannot be listed");
#ifdef _WIN32
    const std::wstring wide_preset = wide_from_utf8(preset);
    SetFileAttributesW(wide_preset.c_str(), FILE_ATTRIBUTE_HIDDEN);
    settings.sun_radius = 78;
    check(write_settings_file(preset, settings, nullptr) == kFileOk, "a hidden settings file is saved over");
    const DWORD attributes = GetFileAttributesW(wide_preset.c_str());
    check(attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_HIDDEN) != 0,
          "and stays hidden");
    check(read_settings_file(preset, SettingsReadMode::Load, back, nullptr).error == kFileOk && back.sun_radius == 78,
          "with the new settings");
#endif
    std::vector<std::string> left;
    list_folder_files(folder, left);
    check(std::none_of(left.begin(), left.end(), [](const std::string& f) { return f.find(".tmp") != std::string::npos; }),
          "no new file is left behind");
#ifndef _WIN32
    std::error_code ignored;
    std::filesystem::remove_all(root, ignored);
#endif
}

}  // namespace

int main() {
    check_events();
    check_threads();
    check_folders();
    check_user_characters();
    std::printf("%d failed\n", failures);
    return failures;
}
