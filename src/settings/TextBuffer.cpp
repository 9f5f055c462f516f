// SPDX-License-Identifier: GPL-3.0-or-later
#include "settings/TextBuffer.h"

#include "books/BookText.h"
#include "books/PlainChapters.h"
#include "platform/RegularFile.h"
#include "text/Translatable.h"

#include <algorithm>
#include <climits>
#include <cstdint>
#include <cstring>
#include <new>
#include <sys/mman.h>
#include <utility>

namespace {
// Reads exactly size bytes; false on an error or when the file turns out shorter
// than it was when its size was taken.
bool ReadAll(const CRegularFile& file, char* into, uint64_t size,
             const CTextBuffer::Progress& progress, TextLoadError& error) {
    uint64_t done = 0;
    while (done < size) {
        const auto want =
            static_cast<std::size_t>(std::min<uint64_t>(size - done, CTextBuffer::ChunkSize));
        const std::size_t got = file.Read(into + done, want);
        if (got < want) {
            error = TextLoadError::CannotRead;
            return false;
        }
        done += got;
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
    case TextLoadError::BadBook:
        return SKIMMET_TRANSLATABLE("Messages", "Error Opening File");
    case TextLoadError::TooLarge:
        return SKIMMET_TRANSLATABLE("Messages", "Size of a text buffer can not be more than 1 Gb");
    case TextLoadError::ConvertedTooLarge:
        return SKIMMET_TRANSLATABLE("Messages", "The text is over 2 Gb once converted to UTF-8");
    case TextLoadError::CannotAllocate:
        return SKIMMET_TRANSLATABLE("Messages", "Error Allocating Memory");
    case TextLoadError::CannotRead:
        return SKIMMET_TRANSLATABLE("Messages", "Error Reading File");
    case TextLoadError::None:
    case TextLoadError::Cancelled:
        break;
    }
    return "";
}

void STextBlockUnmap::operator()(char* block) const {
    ::munmap(block, Length);
}

namespace {

// Anonymous memory that grows by remapping: its pages are neither filled nor copied
// (the kernel moves them), so a converted text costs only the bytes written.
class CBlockOutput final : public TextEncoding::IGrowingOutput {
public:
    CBlockOutput() = default;
    ~CBlockOutput() override {
        if (Data)
            ::munmap(Data, Size);
    }
    CBlockOutput(const CBlockOutput&) = delete;
    CBlockOutput& operator=(const CBlockOutput&) = delete;

    char* Grow(std::size_t size) override {
        void* block = Data ? ::mremap(Data, Size, size, MREMAP_MAYMOVE)
                           : ::mmap(nullptr, size, PROT_READ | PROT_WRITE,
                                    MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
        if (block == MAP_FAILED) {
            HasFailed = true;
            return nullptr;
        }
        Data = static_cast<char*>(block);
        Size = size;
        return Data;
    }
    bool Failed() const { return HasFailed; }

    // The first length bytes and a NUL after them, as a text buffer's block of exactly
    // that size; empty when the memory cannot be had.
    CTextBuffer::Block Take(std::size_t length) {
        if (!Grow(length + 1))
            return {};
        Data[length] = '\0';
        CTextBuffer::Block block(std::exchange(Data, nullptr), STextBlockUnmap{Size});
        return block;
    }

private:
    char* Data = nullptr;
    std::size_t Size = 0;
    bool HasFailed = false;
};

} // namespace

CTextBuffer::Block CTextBuffer::Allocate(std::size_t size) {
    void* block = ::mmap(nullptr, size, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
    if (block == MAP_FAILED)
        return {};
    // Huge pages where the system gives them on request: a fraction of the faults and of
    // the page tables. Then filled at once; where the kernel cannot, page by page.
    ::madvise(block, size, MADV_HUGEPAGE);
    ::madvise(block, size, MADV_POPULATE_WRITE);
    return Block(static_cast<char*>(block), STextBlockUnmap{size});
}

std::optional<CTextBuffer> CTextBuffer::Load(const std::string& path, TextLoadError& error,
                                             const Progress& progress, std::string_view encoding,
                                             std::string* why, bool asPlainText) {
    const CRegularFile file = CRegularFile::Open(path, CRegularFile::LastLink::Follow);
    if (file.Refused != CRegularFile::Refusal::None) {
        error = TextLoadError::CannotOpen;
        return std::nullopt;
    }
    const uint64_t size = file.Size;
    if (size >= SizeLimit) {
        error = TextLoadError::TooLarge;
        return std::nullopt;
    }

    CTextBuffer text;
    text.Bytes = Allocate(size + 1);
    if (!text.Bytes) {
        error = TextLoadError::CannotAllocate;
        return std::nullopt;
    }
    if (!ReadAll(file, text.Bytes.get(), size, progress, error))
        return std::nullopt;
    text.Bytes.get()[size] = '\0';
    text.Length = static_cast<int32_t>(size);
    if (!asPlainText && !text.ReadBook(path, progress, error, why))
        return std::nullopt;
    if (!text.Decode(encoding, error))
        return std::nullopt;
    error = TextLoadError::None;
    return text;
}

// Leaves a plain text as it is (true, nothing held yet in EncodingName), and makes a
// book its text.
bool CTextBuffer::ReadBook(const std::string& path, const Progress& progress, TextLoadError& error,
                           std::string* why) {
    const std::string_view raw(Bytes.get(), static_cast<std::size_t>(Length));
    const BookText::Format format = BookText::Detect(raw, path.substr(path.rfind('/') + 1));
    if (format == BookText::Format::PlainText)
        return true;
    std::string reason;
    const std::optional<std::string> text =
        BookText::Read(raw, format, reason, progress, &Chapters);
    if (!text) {
        error = reason.empty() ? TextLoadError::Cancelled : TextLoadError::BadBook;
        if (why)
            *why = reason;
        return false;
    }
    EncodingName = TextEncoding::Utf8;
    return Hold(*text, SizeLimit, error);
}

bool CTextBuffer::Hold(const std::string& text, uint64_t limit, TextLoadError& error) {
    if (text.size() >= limit) {
        error = TextLoadError::TooLarge;
        return false;
    }
    Block bytes = Allocate(text.size() + 1);
    if (!bytes) {
        error = TextLoadError::CannotAllocate;
        return false;
    }
    std::memcpy(bytes.get(), text.c_str(), text.size() + 1);
    Bytes = std::move(bytes);
    Length = static_cast<int32_t>(text.size());
    return true;
}

bool CTextBuffer::Decode(std::string_view encoding, TextLoadError& error) {
    if (!EncodingName.empty())
        return true; // a book, already text
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
        Chapters = PlainChapters::Find({Bytes.get(), static_cast<std::size_t>(Length)});
        return true;
    }
    // The limit is the file's; a converted text may grow past it, not past what an offset
    // can hold.
    constexpr std::size_t MaxConverted = INT32_MAX - 1;
    CBlockOutput output;
    const std::optional<std::size_t> converted =
        TextEncoding::ToUtf8Into(raw.substr(bom), EncodingName, output, MaxConverted);
    if (!converted) {
        error = output.Failed() ? TextLoadError::CannotAllocate : TextLoadError::CannotRead;
        return false;
    }
    if (*converted > MaxConverted) {
        error = TextLoadError::ConvertedTooLarge;
        return false;
    }
    Block bytes = output.Take(*converted);
    if (!bytes) {
        error = TextLoadError::CannotAllocate;
        return false;
    }
    Bytes = std::move(bytes);
    Length = static_cast<int32_t>(*converted);
    Chapters = PlainChapters::Find({Bytes.get(), static_cast<std::size_t>(Length)});
    return true;
}
