// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// Writes bytes to a temporary file beside path, flushes it, renames it over path. On
// failure returns false with a message; the old file stays as it was and no temporary
// file is left, even when the process is killed during the save. A symbolic link of ours
// or of root is written through: its final target is replaced and the link stays;
// anyone else's link is refused. Replacing keeps the permission bits (and, where
// allowed, the owner) of the old file; a new file gets 0644 less the umask. An existing
// file without write permission, or one that is not a regular file, is refused.
bool SaveFileAtomically(const std::string& path, std::string_view bytes,
                        std::string* error = nullptr);

// An INI file in memory with the semantics of the Windows private-profile calls:
// case-insensitive names, first match wins, writes touch only the keys written and
// keep every other line. Save commits the whole file atomically.
//
// Reading: section and key names match case-insensitively (ASCII) and without the
// spaces and tabs around them; the first matching section block and the first
// matching key in it win; a value loses the blanks around it and then one pair of
// matching outer quotes (" or '); a line whose first non-blank is ';' is a comment;
// a line without '=' is not a key; CRLF, LF and CR all end a line.
//
// Writing: a value is written bare. Only a value that would not read back as
// written (blanks at either end, or a matching pair of outer quotes) is put in
// double quotes, which reading removes again. A value stops at its first line
// break, so no value can add lines to the file. A section or key that could not be
// read back (empty, a line break, ']' in a section, '=' in a key, a key starting
// with ';' or '[') is not written at all: the document stays as it was.
// New lines take the line end of the file's first line (LF for a new file); every
// line not written keeps its bytes, line end included.
class CProfileFile {
public:
    // Settings files hold a few dozen lines; Load refuses anything larger than this
    // so that a wrong file (each line costs tens of bytes in memory) stays cheap.
    static constexpr std::size_t MaxFileSize = 1024 * 1024;

    enum class IfMissing : uint8_t { Empty, Fail };
    // A missing file is an empty document (true) unless missing says Fail. False with a
    // message when the path exists but cannot be read (a folder, no permission, not a
    // regular file, larger than MaxFileSize, a link of another user); the document then
    // stays as it was.
    bool Load(const std::string& path, std::string* error = nullptr,
              IfMissing missing = IfMissing::Empty);
    static CProfileFile FromText(std::string_view bytes);

    int32_t GetInt(std::string_view section, std::string_view key, int32_t fallback) const;
    // The value cut to size - 1 bytes (as a buffer of `size` bytes would receive it).
    std::string GetString(std::string_view section, std::string_view key, std::string_view fallback,
                          std::size_t size) const;
    void WriteString(std::string_view section, std::string_view key, std::string_view value);
    void WriteInt(std::string_view section, std::string_view key, int32_t value);
    // Removes the key's first line in the section's first block; nothing when absent.
    void DeleteKey(std::string_view section, std::string_view key);

    // The document's text, saved with SaveFileAtomically.
    bool Save(const std::string& path, std::string* error = nullptr) const;
    std::string Text() const;

private:
    enum class LineBreak : uint8_t { None, Lf, CrLf, Cr };
    struct CLine {
        std::string Text;
        LineBreak End = LineBreak::None; // as read; None only on a last line
    };

    std::optional<std::size_t> FindSection(std::string_view section) const;
    std::size_t SectionEnd(std::size_t header) const;
    std::optional<std::size_t> FindKey(std::size_t header, std::string_view key) const;
    std::size_t LastKeyLine(std::size_t header) const;
    void InsertLine(std::size_t at, std::string text);

    std::vector<CLine> Lines;
    LineBreak LineEnd = LineBreak::Lf; // for new lines: the file's first line end
};
