// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

struct zip;

// A zip file read from memory, its entries unpacked one at a time and never past a cap,
// so that a zip bomb is refused rather than filling the memory.
class CZipArchive {
public:
    // The bytes must outlive the archive. nullptr with a message if they are no zip.
    static std::unique_ptr<CZipArchive> Open(std::string_view bytes, std::string& error);
    ~CZipArchive();
    CZipArchive(const CZipArchive&) = delete;
    CZipArchive& operator=(const CZipArchive&) = delete;

    std::vector<std::string> Names() const;
    bool Has(const std::string& name) const;
    bool IsEncrypted(const std::string& name) const;
    // The unpacked entry, at most limit bytes; nullopt with a message naming the entry
    // otherwise.
    std::optional<std::string> Read(const std::string& name, std::string& error,
                                    uint64_t limit = MaxEntry) const;

    static constexpr uint64_t MaxEntry = uint64_t{256} << 20;
    // A book's own documents (its container, package, table of contents, encryption
    // list) are held as whole trees of about 40 times their size: the largest real ones
    // are a few hundred KiB.
    static constexpr uint64_t MaxTreeEntry = uint64_t{1} << 20;

private:
    explicit CZipArchive(zip* archive) : m_archive(archive) {}
    zip* m_archive;
};
