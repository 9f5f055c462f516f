// SPDX-License-Identifier: GPL-3.0-or-later
#include "books/BookEntry.h"
#include "books/BookReaders.h"

namespace {
const SBookEntry Readers{.DetectZip = BookReaders::DetectZip, .Read = BookReaders::Read};
} // namespace

extern "C" __attribute__((visibility("default"))) const SBookEntry* SkimmetBookEntry() {
    return &Readers;
}
