// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <string_view>

class CReadingSettings;

// One unit back or forward, to exactly the units reading shows. text ends with a NUL
// just past its view; positions are byte offsets.
namespace UnitSteps {

// The start of the unit after the one that starts at from; from at the text's last unit.
int32_t Forward(std::string_view text, int32_t from, const CReadingSettings& settings);

// The start of the unit before from, as reading cuts the units from a sentence start a
// few units back: by then the cut is in step with reading's whatever place reading
// began at. 0 at the text's start.
int32_t Back(std::string_view text, int32_t from, const CReadingSettings& settings);

} // namespace UnitSteps
