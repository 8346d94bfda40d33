#include "platform/processors.h"

#include <windows.h>

namespace corvanthe {

int processor_count() {
    DWORD_PTR process_mask = 0, system_mask = 0;
    if (GetProcessAffinityMask(GetCurrentProcess(), &process_mask, &system_mask) && process_mask) {
        int n = 0;
        for (; process_mask; process_mask &= process_mask - 1) ++n;
        return n;
    }
    SYSTEM_INFO info;
    GetSystemInfo(&info);
    return info.dwNumberOfProcessors > 0 ? static_cast<int>(info.dwNumberOfProcessors) : 1;
}

bool wide_vectors_usable() { return false; }

}  // namespace corvanthe
