// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <string_view>

// FNV-1a over bytes, 64 bits: the same bytes give the same hash on every machine and in
// every build, which a name kept on disk needs. seed tells apart further tries.
inline uint64_t NameHash(std::string_view bytes, uint64_t seed = 0) {
    uint64_t hash = 14695981039346656037ULL + seed;
    for (const char byte : bytes) {
        hash ^= static_cast<unsigned char>(byte);
        hash *= 1099511628211ULL;
    }
    return hash;
}
