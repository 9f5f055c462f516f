// SPDX-License-Identifier: GPL-3.0-or-later
#include "books/ZipArchive.h"

#include "books/BookText.h"

#include <zip.h>

namespace {
struct SFileCloser {
    void operator()(zip_file_t* file) const { zip_fclose(file); }
};

std::string TooLarge(const std::string& name, uint64_t limit) {
    return "\"" + BookText::Detail(name) + "\" unpacks to more than " +
           std::to_string(limit >> 20) + " MiB (a zip bomb?)";
}
} // namespace

std::unique_ptr<CZipArchive> CZipArchive::Open(std::string_view bytes, std::string& error) {
    zip_error_t zipError;
    zip_error_init(&zipError);
    zip_source_t* source = zip_source_buffer_create(bytes.data(), bytes.size(), 0, &zipError);
    zip_t* archive = source ? zip_open_from_source(source, ZIP_RDONLY, &zipError) : nullptr;
    if (!archive) {
        error = std::string("the zip file is damaged: ") + zip_error_strerror(&zipError);
        if (source)
            zip_source_free(source);
        zip_error_fini(&zipError);
        return nullptr;
    }
    zip_error_fini(&zipError);
    return std::unique_ptr<CZipArchive>(new CZipArchive(archive));
}

CZipArchive::~CZipArchive() {
    zip_discard(m_archive);
}

std::vector<std::string> CZipArchive::Names() const {
    std::vector<std::string> names;
    const zip_int64_t count = zip_get_num_entries(m_archive, 0);
    for (zip_int64_t i = 0; i < count; ++i)
        if (const char* name = zip_get_name(m_archive, static_cast<zip_uint64_t>(i), 0))
            names.emplace_back(name);
    return names;
}

bool CZipArchive::Has(const std::string& name) const {
    return zip_name_locate(m_archive, name.c_str(), 0) >= 0;
}

bool CZipArchive::IsEncrypted(const std::string& name) const {
    zip_stat_t stat;
    zip_stat_init(&stat);
    return zip_stat(m_archive, name.c_str(), 0, &stat) == 0 &&
           (stat.valid & ZIP_STAT_ENCRYPTION_METHOD) && stat.encryption_method != ZIP_EM_NONE;
}

std::optional<std::string> CZipArchive::Read(const std::string& name, std::string& error,
                                             uint64_t limit) const {
    zip_stat_t stat;
    zip_stat_init(&stat);
    if (zip_stat(m_archive, name.c_str(), 0, &stat) != 0) {
        error = "\"" + BookText::Detail(name) + "\" is missing from the zip file";
        return std::nullopt;
    }
    if (IsEncrypted(name)) {
        error = "\"" + BookText::Detail(name) + "\" is encrypted";
        return std::nullopt;
    }
    // The stated size is only a claim: the bytes are counted as they come too.
    if ((stat.valid & ZIP_STAT_SIZE) && stat.size > limit) {
        error = TooLarge(name, limit);
        return std::nullopt;
    }
    const std::unique_ptr<zip_file_t, SFileCloser> file(zip_fopen(m_archive, name.c_str(), 0));
    if (!file) {
        error = "\"" + BookText::Detail(name) + "\" cannot be unpacked: " + zip_strerror(m_archive);
        return std::nullopt;
    }
    std::string data;
    if (stat.valid & ZIP_STAT_SIZE)
        data.reserve(static_cast<size_t>(stat.size));
    char buffer[65536];
    for (;;) {
        const zip_int64_t got = zip_fread(file.get(), buffer, sizeof buffer);
        if (got < 0) {
            error =
                "\"" + BookText::Detail(name) + "\" is damaged: " + zip_file_strerror(file.get());
            return std::nullopt;
        }
        if (got == 0)
            return data;
        if (data.size() + static_cast<uint64_t>(got) > limit) {
            error = TooLarge(name, limit);
            return std::nullopt;
        }
        data.append(buffer, static_cast<size_t>(got));
    }
}
