#pragma once
// The JSON form of a recorded descriptor: one flat object, four-character key → value;
// integers as numbers, switches as true/false, the six floats as numbers, sun type and
// glue as their enumerator keys ("su03", "sg19"). The reader is strict: only our 49
// keys, each at most once, with a value of its type; anything else is refused.
#include <string>
#include <string_view>

#include "hosting/descriptor.h"

namespace corvanthe::apps {

// False (with a message) for items the form cannot carry: other kinds, non-finite floats.
bool descriptor_to_json(const hosting::Descriptor& descriptor, std::string& json, std::string& error);

bool descriptor_from_json(std::string_view json, hosting::Descriptor& descriptor, std::string& error);

}  // namespace corvanthe::apps
