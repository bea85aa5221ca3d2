// Writes a compiled song as a Standard MIDI File (format 1): a conductor
// track with tempo, meter and key, then one track per instrument.
#pragma once

#include <cstdint>
#include <vector>

#include "Score.h"

namespace yuunagi::music {

// Appends a variable-length quantity (7 bits per byte, high bit = more).
void AppendVarLength(std::vector<std::uint8_t>& out, std::uint32_t value);

std::vector<std::uint8_t> WriteSmf(const Song& song);

}  // namespace yuunagi::music
