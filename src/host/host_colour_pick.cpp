#include "host/host_colour_pick.h"

#include <algorithm>
#include <cstring>

#include "sdk/color_services.h"

namespace corvanthe {

bool pick_colour_from_host(HostContext& context, const char* prompt, const uint8_t rgb_in[3], uint8_t rgb_out[3]) {
    const sdk::FilterRecord* record = context.record;
    if (!record || !record->colorServices) return false;

    // A Pascal string.
    unsigned char text[256] = {0};
    const size_t length = prompt ? std::min<size_t>(std::strlen(prompt), 255) : 0;
    text[0] = static_cast<unsigned char>(length);
    if (length) std::memcpy(text + 1, prompt, length);

    sdk::ColorServicesInfo info{};
    info.infoSize = int32_t(sizeof info);
    info.selector = sdk::kColorServicesChooseColor;
    info.sourceSpace = sdk::kColorServicesRGBSpace;
    info.resultSpace = sdk::kColorServicesRGBSpace;
    for (int k = 0; k < 3; ++k) info.colorComponents[k] = rgb_in[k];
    info.selectorParameter.pickerPrompt = text;

    const bool answered = record->colorServices(&info) == 0;
    for (int k = 0; k < 3; ++k)
        rgb_out[k] = answered ? uint8_t(std::clamp<int16_t>(info.colorComponents[k], 0, 255)) : rgb_in[k];
    return true;
}

}  // namespace corvanthe
