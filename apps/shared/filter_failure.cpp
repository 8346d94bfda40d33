#include "apps/shared/filter_failure.h"

namespace corvanthe::apps {

std::string filter_failure(const hosting::Host& host, int16_t result) {
    std::string message = "the filter failed with result code " + std::to_string(result) + ": " +
                          hosting::result_code_meaning(result);
    const std::string detail = host.error_string();
    if (!detail.empty()) message += " (" + detail + ")";
    return message;
}

}  // namespace corvanthe::apps
