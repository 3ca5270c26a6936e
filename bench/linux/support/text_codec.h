// The scanner's bytes (Windows-1252) as the characters they stand for, and
// those as UTF-8: what xdotool is given and what the xterm sink writes.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace wedge_bench {

std::u16string charactersOf(const std::vector<uint8_t>& windows1252);
std::string utf8Of(const std::u16string& characters);
// Malformed sequences read as U+FFFD, one per byte.
std::u16string decodeUtf8(const std::string& utf8);

}  // namespace wedge_bench
