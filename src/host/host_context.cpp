#include "host/host_context.h"

namespace corvanthe {

HostContext& host_context() {
    static HostContext context;
    return context;
}

int16_t result_of(const HostContext& context) { return context.result ? *context.result : 0; }

void set_result(HostContext& context, int16_t code) {
    if (context.result) *context.result = code;
}

}  // namespace corvanthe
