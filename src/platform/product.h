#pragma once
// Who we are: the names that the program's files, pictures and pages carry.

namespace corvanthe::product {

constexpr const char* kName = "Corvanthe";
constexpr const char* kMaker = "Tallow Heron";
constexpr const char* kWebAddress = "https://www.tallowheron.com/corvanthe/";
// The maker's site, short enough for fields limited to 32 bytes (the IPTC source).
constexpr const char* kMakerWebAddress = "https://www.tallowheron.com/";

}  // namespace corvanthe::product
