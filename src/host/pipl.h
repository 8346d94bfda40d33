#pragma once
// The plug-in property list ("PIPL" 16000): what the host reads before it loads the
// module: kind, menu name and category, interface version, entry point, scripting
// terminology, supported modes, enabling conditions and per-case data handling.
#include <cstdint>
#include <vector>

namespace corvanthe {

constexpr int16_t kPropertyListResourceId = 16000;

// The property that names the entry point: 32-bit hosts look for 'wx86',
// 64-bit hosts for '8664'.
enum class EntryArchitecture { X86, X64 };

constexpr EntryArchitecture kNativeEntryArchitecture =
    sizeof(void*) == 8 ? EntryArchitecture::X64 : EntryArchitecture::X86;

// The resource bytes in the Windows layout: a two-byte prelude (1), the list
// version 0 and the property count, then each property as vendor, key, id, length
// and data padded to four bytes; all integers little-endian.
std::vector<uint8_t> pipl_resource(EntryArchitecture architecture);

}  // namespace corvanthe
