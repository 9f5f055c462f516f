#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>

enum class TextLoadError { None, CannotOpen, TooLarge, CannotAllocate, CannotRead, Cancelled };

// The program's message for a failed load ("Error Opening File" ...); empty for None
// and Cancelled, which need no message.
const char* TextLoadMessage(TextLoadError error);

// The whole of one text file in a single block of exactly size + 1 bytes, the last
// one a NUL. The block never moves, so pointers into it (text start, cursor) stay
// valid when the buffer object is moved.
class CTextBuffer {
public:
    static constexpr uint64_t SizeLimit = 0x40000000; // sizes from here on are refused
    static constexpr std::size_t ChunkSize = std::size_t{4} << 20;

    // Called after each chunk read; returning false cancels the load.
    using Progress = std::function<bool(uint64_t done, uint64_t total)>;

    CTextBuffer() = default; // no text
    CTextBuffer(CTextBuffer&&) noexcept = default;
    CTextBuffer& operator=(CTextBuffer&&) noexcept = default;

    // Reads the file at path. The size is checked before any memory is taken; a
    // folder or anything else that is not a regular file cannot be opened.
    static std::optional<CTextBuffer> Load(const std::string& path, TextLoadError& error,
                                           const Progress& progress = {});

    // Null when there is no text; otherwise NUL-terminated after Size() bytes.
    const char* Data() const { return Bytes.get(); }
    int32_t Size() const { return Length; }
    bool HasText() const { return Bytes != nullptr; }

private:
    std::unique_ptr<char[]> Bytes;
    int32_t Length = 0;
};
