// SPDX-License-Identifier: GPL-3.0-or-later
#include "engine/ReadingSpeed.h"

#include "settings/SettingsTable.h"

#include <algorithm>

namespace ReadingSpeed {

static_assert(SettingsTable::Between.Low == int32_t{Shortest} &&
              SettingsTable::Between.High == int32_t{Longest});
static_assert(SettingsTable::Duration.Low == int32_t{Shortest} &&
              SettingsTable::Duration.High == int32_t{Longest});

namespace {
// In 64 bits, so that no stored length can overflow the products.
uint32_t Bounded(uint64_t ms) {
    return static_cast<uint32_t>(std::clamp<uint64_t>(ms, Shortest, Longest));
}
} // namespace

uint32_t Faster(uint32_t ms) {
    const uint64_t from = Bounded(ms);
    const uint64_t scaled = (from * 10 + 5) / 11;
    return Bounded(scaled < from ? scaled : from - 1);
}

uint32_t Slower(uint32_t ms) {
    const uint64_t from = Bounded(ms);
    const uint64_t scaled = (from * 11 + 5) / 10;
    return Bounded(scaled > from ? scaled : from + 1);
}

} // namespace ReadingSpeed
