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
#include <vector>

namespace {
// Reads the bytes of the file from done to total into the block at text, which holds
// done bytes already; false on an error or when the file turns out shorter than it was
// when its size was taken.
bool ReadAll(const CRegularFile& file, char* text, uint64_t done, uint64_t total,
             const CTextBuffer::Progress& progress, TextLoadError& error) {
    while (done < total) {
        const auto want =
            static_cast<std::size_t>(std::min<uint64_t>(total - done, CTextBuffer::ChunkSize));
        const std::size_t got = file.Read(text + done, want);
        if (got < want) {
            error = TextLoadError::CannotRead;
            return false;
        }
        done += got;
        if (progress && !progress(done, total)) {
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
        // Huge pages where the system gives them on request: a converted text of a hundred
        // megabytes then costs a few dozen faults instead of tens of thousands.
        if (!Data)
            ::madvise(block, size, MADV_HUGEPAGE);
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

// A file opened for its text, with what its head tells: whether it is a book and, for
// a plain text, its encoding and byte-order mark.
struct CTextBuffer::SOpened {
    CRegularFile File;
    uint64_t Size = 0;
    std::string Head;
    bool Book = false;
    std::string_view Encoding;
    std::size_t Bom = 0;

    // A plain text in an encoding not held as bytes: converted as it is read.
    bool Converted() const { return !Book && !TextEncoding::IsHeldAsBytes(Encoding); }
    std::string_view Text() const { return std::string_view(Head).substr(Bom); }
};

namespace {

// What the head of a file must hold to tell a book from a plain text (a markup's start
// in a wide encoding takes four bytes a character) and its encoding.
constexpr std::size_t HeadSize = 256 * 1024;
// A converted text is read in pieces of this size: they stay in the processor's cache
// between the read and the conversion, and the file is never in memory whole.
constexpr std::size_t PieceSize = std::size_t{1} << 20;
// The longest sequence cut by a piece's end that the next piece completes.
constexpr std::size_t MaxCarry = 64;
// The limit is the file's; a converted text may grow past it, not past what an offset
// can hold.
constexpr std::size_t MaxConverted = INT32_MAX - 1;

std::optional<CTextBuffer::SOpened> OpenText(const std::string& path, std::string_view encoding,
                                             bool asPlainText, TextLoadError& error) {
    CTextBuffer::SOpened opened;
    opened.File = CRegularFile::Open(path, CRegularFile::LastLink::Follow);
    if (opened.File.Refused != CRegularFile::Refusal::None) {
        error = TextLoadError::CannotOpen;
        return std::nullopt;
    }
    opened.Size = opened.File.Size;
    if (opened.Size >= CTextBuffer::SizeLimit) {
        error = TextLoadError::TooLarge;
        return std::nullopt;
    }
    opened.Head.resize(static_cast<std::size_t>(std::min<uint64_t>(opened.Size, HeadSize)));
    if (opened.File.Read(opened.Head.data(), opened.Head.size()) < opened.Head.size()) {
        error = TextLoadError::CannotRead;
        return std::nullopt;
    }
    // A zip is told apart by its directory at the end: read whole, and looked into then.
    const std::string name = path.substr(path.rfind('/') + 1);
    opened.Book =
        !asPlainText && (opened.Head.starts_with("PK\x03\x04") ||
                         BookText::Detect(opened.Head, name) != BookText::Format::PlainText);
    if (opened.Book)
        return opened;
    if (const std::optional<std::string_view> chosen = TextEncoding::Canonical(encoding)) {
        opened.Encoding = *chosen;
        opened.Bom = TextEncoding::BomLength(opened.Head, opened.Encoding);
    } else {
        const TextEncoding::SDetected detected = TextEncoding::Detect(opened.Head);
        opened.Encoding = detected.Encoding;
        opened.Bom = detected.BomLength;
    }
    return opened;
}

// Whether the bytes of a piece were converted and what was converted was taken: else
// the conversion ran out of memory, or the taker stopped it.
bool Taken(const std::optional<std::size_t>& used, const std::function<bool()>& taken,
           TextLoadError& error) {
    if (!used) {
        error = TextLoadError::CannotAllocate;
        return false;
    }
    if (!taken()) {
        error = TextLoadError::Cancelled;
        return false;
    }
    return true;
}

// The text of opened, a UTF-8 text held as its bytes, handed to write from its head on
// a piece at a time.
bool StreamBytes(CTextBuffer::SOpened& opened, const CTextBuffer::Writer& write,
                 TextLoadError& error) {
    if (!write(opened.Text())) {
        error = TextLoadError::Cancelled;
        return false;
    }
    std::vector<char> piece(PieceSize);
    for (uint64_t done = opened.Head.size(); done < opened.Size;) {
        const auto want =
            static_cast<std::size_t>(std::min<uint64_t>(opened.Size - done, PieceSize));
        if (opened.File.Read(piece.data(), want) < want) {
            error = TextLoadError::CannotRead;
            return false;
        }
        done += want;
        if (!write({piece.data(), want})) {
            error = TextLoadError::Cancelled;
            return false;
        }
    }
    return true;
}

// Feeds the text of opened, from its head on, to converter a piece at a time, calling
// taken after each piece with what was converted: false stops. What is cut by a piece's
// end begins the next one.
bool ConvertPieces(CTextBuffer::SOpened& opened, CTextConverter& converter,
                   const CTextBuffer::Progress& progress, const std::function<bool()>& taken,
                   TextLoadError& error) {
    uint64_t done = opened.Head.size();
    const std::optional<std::size_t> headTaken = converter.Add(opened.Text(), done == opened.Size);
    if (!Taken(headTaken, taken, error))
        return false;
    std::vector<char> piece(PieceSize + MaxCarry);
    // Only a conversion stopped at its limit leaves more than a cut sequence behind.
    std::size_t carry = opened.Text().size() - *headTaken;
    std::memcpy(piece.data(), opened.Text().data() + *headTaken, std::min(carry, MaxCarry));
    while (done < opened.Size && !converter.PastLimit()) {
        const auto want =
            static_cast<std::size_t>(std::min<uint64_t>(opened.Size - done, PieceSize));
        if (carry > MaxCarry || opened.File.Read(piece.data() + carry, want) < want) {
            error = TextLoadError::CannotRead;
            return false;
        }
        done += want;
        if (progress && !progress(done, opened.Size)) {
            error = TextLoadError::Cancelled;
            return false;
        }
        const std::size_t held = carry + want;
        const std::optional<std::size_t> used =
            converter.Add({piece.data(), held}, done == opened.Size);
        if (!Taken(used, taken, error))
            return false;
        carry = held - *used;
        std::memmove(piece.data(), piece.data() + *used, carry);
    }
    return true;
}

} // namespace

std::optional<CTextBuffer> CTextBuffer::Load(const std::string& path, TextLoadError& error,
                                             const Progress& progress, std::string_view encoding,
                                             std::string* why, bool asPlainText) {
    std::optional<SOpened> opened = OpenText(path, encoding, asPlainText, error);
    if (!opened)
        return std::nullopt;
    CTextBuffer text;
    if (opened->Converted()) {
        if (!text.ConvertWhileReading(*opened, progress, error))
            return std::nullopt;
        error = TextLoadError::None;
        return text;
    }
    const uint64_t size = opened->Size;
    text.Bytes = Allocate(size + 1);
    if (!text.Bytes) {
        error = TextLoadError::CannotAllocate;
        return std::nullopt;
    }
    const std::size_t head = opened->Head.size();
    std::memcpy(text.Bytes.get(), opened->Head.data(), head);
    if (!ReadAll(opened->File, text.Bytes.get(), head, size, progress, error))
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

bool CTextBuffer::ConvertWhileReading(SOpened& opened, const Progress& progress,
                                      TextLoadError& error) {
    CBlockOutput output;
    CTextConverter converter(
        TextEncoding::Utf8, opened.Encoding, output,
        TextEncoding::ConversionOptions(opened.Encoding, opened.Size, MaxConverted));
    if (!ConvertPieces(
            opened, converter, progress, [] { return true; }, error))
        return false;
    const std::size_t converted = converter.Written();
    if (converted > MaxConverted) {
        error = TextLoadError::ConvertedTooLarge;
        return false;
    }
    Block bytes = output.Take(converted);
    if (!bytes) {
        error = TextLoadError::CannotAllocate;
        return false;
    }
    Bytes = std::move(bytes);
    Length = static_cast<int32_t>(converted);
    EncodingName = opened.Encoding;
    Chapters = PlainChapters::Find({Bytes.get(), static_cast<std::size_t>(Length)});
    return true;
}

CTextBuffer::Streamed CTextBuffer::StreamUtf8(const std::string& path, std::string_view encoding,
                                              bool asPlainText, const Writer& write,
                                              TextLoadError& error) {
    std::optional<SOpened> opened = OpenText(path, encoding, asPlainText, error);
    if (!opened)
        return Streamed::Failed;
    if (opened->Book)
        return Streamed::Book;
    if (opened->Encoding == TextEncoding::Utf8)
        return StreamBytes(*opened, write, error) ? Streamed::Done : Streamed::Failed;
    // A code page held as bytes is written in UTF-8 too, through the same conversion.
    std::string memory;
    TextEncoding::CStringOutput output(memory);
    CTextConverter converter(
        TextEncoding::Utf8, opened->Encoding, output,
        TextEncoding::ConversionOptions(opened->Encoding, PieceSize, SIZE_MAX));
    const auto taken = [&] {
        const bool written = write({converter.Data(), converter.Written()});
        converter.Rewind();
        return written;
    };
    return ConvertPieces(*opened, converter, {}, taken, error) ? Streamed::Done : Streamed::Failed;
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
