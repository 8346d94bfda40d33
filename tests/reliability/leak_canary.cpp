// Leaks one block on purpose: its test passes only when the leak check reports it, so
// the sanitizer build's test run is known to check every test for leaks.
#include <cstdlib>

int main() {
    void* volatile block = std::malloc(64);
    block = nullptr;
    return block != nullptr;
}
