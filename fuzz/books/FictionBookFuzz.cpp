// SPDX-License-Identifier: GPL-3.0-or-later
// Arbitrary bytes read as a FictionBook's XML.
#include "BookFuzz.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    CheckBookReads(data, size, BookText::Format::FictionBook);
    return 0;
}
