// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstddef>
#include <iconv.h>
#include <optional>
#include <string>
#include <string_view>

namespace TextEncoding {
// Memory a conversion writes into, grown when asked and never filled first: a text of a
// hundred megabytes converts without a zeroed copy of itself.
class IGrowingOutput {
public:
    virtual ~IGrowingOutput() = default;
    // At least size bytes, those written kept; nullptr when there is no more memory.
    virtual char* Grow(std::size_t size) = 0;
};

// A string as the memory a conversion writes into (it is filled as it grows, which small
// conversions do not mind).
class CStringOutput final : public IGrowingOutput {
public:
    explicit CStringOutput(std::string& out) : Out(out) {}
    char* Grow(std::size_t size) override {
        Out.resize(size);
        return Out.data();
    }

private:
    std::string& Out;
};
} // namespace TextEncoding

// A conversion between two encodings by the system's iconv into memory grown as needed,
// a piece of the text at a time: a file is converted as it is read, without the whole
// of it in memory, and a sequence cut by a piece's end is completed by the next piece.
class CTextConverter {
public:
    struct SOptions {
        // Written for a sequence that cannot be converted, skipping Step bytes of it;
        // without one such a sequence fails the conversion.
        std::string_view Replacement;
        std::size_t Step = 1;
        // The conversion stops once it has written more than Limit bytes, and grows the
        // output no further than a little past them.
        std::size_t Limit = SIZE_MAX;
        // What the output is first grown to.
        std::size_t Expected = 0;
    };

    CTextConverter(std::string_view to, std::string_view from, TextEncoding::IGrowingOutput& out,
                   const SOptions& options);
    ~CTextConverter();
    CTextConverter(const CTextConverter&) = delete;
    CTextConverter& operator=(const CTextConverter&) = delete;

    // False when the system's converter does not know one of the encodings.
    bool IsValid() const { return Handle != reinterpret_cast<iconv_t>(-1); }

    // Converts piece: the bytes of it taken. Unless last, a sequence cut by its end is
    // not taken and is to begin the next piece. nullopt when the conversion failed (no
    // memory, or a sequence that cannot be converted and no replacement).
    std::optional<std::size_t> Add(std::string_view piece, bool last);

    // The bytes written, past Limit when the conversion stopped there.
    std::size_t Written() const;
    bool PastLimit() const { return OverLimit; }
    // Where the bytes written begin; null before anything was converted.
    const char* Data() const { return Output; }
    // Writes on from the start of the output again: what was written has been taken.
    void Rewind() { Used = 0; }

private:
    bool Start();
    bool Grow();

    iconv_t Handle;
    TextEncoding::IGrowingOutput& Out;
    SOptions Options;
    char* Output = nullptr;
    std::size_t Capacity = 0;
    std::size_t Used = 0;
    bool OverLimit = false;
    bool Failed = false;
};
