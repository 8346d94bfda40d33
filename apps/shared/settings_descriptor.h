#pragma once
// A settings record as the descriptor a host would replay: the 49 values in table
// order, with the types the plug-in reads (colours as their high byte).
#include "hosting/descriptor.h"
#include "settings/sun_settings.h"

namespace corvanthe::apps {

hosting::Descriptor settings_descriptor(const SunSettings& settings);

}  // namespace corvanthe::apps
