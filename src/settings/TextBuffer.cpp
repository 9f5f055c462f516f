// SPDX-License-Identifier: GPL-3.0-or-later
#include "settings/TextBuffer.h"

#include "platform/UniqueFd.h"

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstdint>
#include <cstring>
#include <fcntl.h>
#include <new>
#include <sys/stat.h>
#include <unistd.h>

namespace {
// Reads exactly size bytes; false on an error or when the file turns out shorter
// than it was when its size was taken.
bool ReadAll(int fd, char* into, uint64_t size, const CTextBuffer::Progress& progress,
             TextLoadError& error) {
    uint64_t done = 0;
    while (done < size) {
        const auto want =
            static_cast<std::size_t>(std::min<uint64_t>(size - done, CTextBuffer::ChunkSize));
        const ssize_t got = ::read(fd, into + done, want);
        if (got < 0 && errno == EINTR)
            continue;
        if (got <= 0) {
            error = TextLoadError::CannotRead;
            return false;
        }
        done += static_cast<uint64_t>(got);
        if (progress && !progress(done, size)) {
            error = TextLoadError::Cancelled;
            return false;
        }
    }
    return true;
}
} // namespace

const char* TextLoadMessage(TextLoadError error) {
    switch (error) {
    case TextLoadError::CannotOpen:
        return "Error Opening File";
    case TextLoadError::TooLarge:
        return "Size of a text buffer can not be more than 1 Gb";
    case TextLoadError::CannotAllocate:
        return "Error Allocating Memory";
    case TextLoadError::CannotRead:
        return "Error Reading File";
    case TextLoadError::None:
    case TextLoadError::Cancelled:
        break;
    }
    return "";
}

std::optional<CTextBuffer> CTextBuffer::Load(const std::string& path, TextLoadError& error,
                                             const Progress& progress, std::string_view encoding) {
    // O_NONBLOCK keeps the open of a FIFO from waiting for a writer; it changes
    // nothing for the regular files that are read.
    const CUniqueFd file(::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK));
    struct stat info {};
    if (file.Get() < 0 || ::fstat(file.Get(), &info) != 0 || !S_ISREG(info.st_mode)) {
        error = TextLoadError::CannotOpen;
        return std::nullopt;
    }
    const auto size = static_cast<uint64_t>(info.st_size);
    if (size >= SizeLimit) {
        error = TextLoadError::TooLarge;
        return std::nullopt;
    }

    CTextBuffer text;
    text.Bytes.reset(new (std::nothrow) char[size + 1]);
    if (!text.Bytes) {
        error = TextLoadError::CannotAllocate;
        return std::nullopt;
    }
    if (!ReadAll(file.Get(), text.Bytes.get(), size, progress, error))
        return std::nullopt;
    text.Bytes[size] = '\0';
    text.Length = static_cast<int32_t>(size);
    if (!text.Decode(encoding, error))
        return std::nullopt;
    error = TextLoadError::None;
    return text;
}

bool CTextBuffer::Decode(std::string_view encoding, TextLoadError& error) {
    const std::string_view raw(Bytes.get(), static_cast<std::size_t>(Length));
    std::size_t bom = 0;
    if (const std::optional<std::string_view> chosen = TextEncoding::Canonical(encoding)) {
        EncodingName = *chosen;
        bom = TextEncoding::BomLength(raw, EncodingName);
    } else {
        const TextEncoding::SDetected detected = TextEncoding::Detect(raw);
        EncodingName = detected.Encoding;
        bom = detected.BomLength;
    }
    if (TextEncoding::IsHeldAsBytes(EncodingName)) {
        // Positions count from the first byte after the mark.
        std::memmove(Bytes.get(), Bytes.get() + bom, raw.size() - bom + 1);
        Length -= static_cast<int32_t>(bom);
        return true;
    }
    const std::optional<std::string> converted =
        TextEncoding::ToUtf8(raw.substr(bom), EncodingName);
    if (!converted || converted->size() >= static_cast<std::size_t>(INT32_MAX)) {
        error = converted ? TextLoadError::TooLarge : TextLoadError::CannotRead;
        return false;
    }
    std::unique_ptr<char[]> utf8(new (std::nothrow) char[converted->size() + 1]);
    if (!utf8) {
        error = TextLoadError::CannotAllocate;
        return false;
    }
    std::memcpy(utf8.get(), converted->c_str(), converted->size() + 1);
    Bytes = std::move(utf8);
    Length = static_cast<int32_t>(converted->size());
    return true;
}
