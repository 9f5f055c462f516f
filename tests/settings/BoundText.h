#pragma once

#include "settings/ReadingSettings.h"

#include <string>

// A settings record bound to a text of `length` bytes, cursor at the start.
struct BoundText {
    explicit BoundText(int length) : Bytes(static_cast<std::size_t>(length), 'a') {
        Settings.BindText(&Start, &Cursor);
        Settings.TextLength = length;
    }
    int32_t Offset() const { return static_cast<int32_t>(Cursor - Start); }
    std::string Bytes;
    const char* Start = Bytes.c_str();
    const char* Cursor = Start;
    CReadingSettings Settings;
};
