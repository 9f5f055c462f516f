// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/ProfileFile.h"

#include "platform/Decimal.h"
#include "platform/Folders.h"
#include "platform/RegularFile.h"
#include "platform/UniqueFd.h"

#include <algorithm>
#include <cerrno>
#include <dirent.h>
#include <fcntl.h>
#include <random>
#include <sys/stat.h>
#include <system_error>
#include <unistd.h>
#include <utility>

namespace {

constexpr std::string_view Blanks = " \t";
constexpr int MaxLinkHops = 40;
constexpr std::size_t MaxTempBaseLength = 200; // keeps the temporary name under NAME_MAX
constexpr int TempNameAttempts = 64;

std::string_view TrimBlanks(std::string_view text) {
    const std::size_t first = text.find_first_not_of(Blanks);
    if (first == std::string_view::npos) {
        return {};
    }
    const std::size_t last = text.find_last_not_of(Blanks);
    return text.substr(first, last - first + 1);
}

char LowerAscii(char c) {
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

bool EqualsNoCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) {
        return false;
    }
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (LowerAscii(a[i]) != LowerAscii(b[i])) {
            return false;
        }
    }
    return true;
}

bool IsQuote(char c) {
    return c == '"' || c == '\'';
}

bool HasOuterQuotes(std::string_view text) {
    return text.size() >= 2 && IsQuote(text.front()) && text.back() == text.front();
}

std::string_view Unquote(std::string_view text) {
    return HasOuterQuotes(text) ? text.substr(1, text.size() - 2) : text;
}

enum class LineKind { Other, Section, Key };

struct CParsedLine {
    LineKind Kind = LineKind::Other;
    std::string_view Name;
    std::size_t ValueStart = 0; // keys: the byte after '='
};

CParsedLine ParseLine(std::string_view text) {
    const std::string_view body = TrimBlanks(text);
    if (body.empty() || body.front() == ';') {
        return {};
    }
    if (body.front() == '[') {
        const std::size_t close = body.find(']');
        if (close == std::string_view::npos) {
            return {}; // a broken header is neither a section nor a key
        }
        return {LineKind::Section, TrimBlanks(body.substr(1, close - 1)), 0};
    }
    const std::size_t equals = text.find('=');
    if (equals == std::string_view::npos) {
        return {};
    }
    return {LineKind::Key, TrimBlanks(text.substr(0, equals)), equals + 1};
}

std::string_view ValueOf(std::string_view text, const CParsedLine& line) {
    return Unquote(TrimBlanks(text.substr(line.ValueStart)));
}

// A value that would lose its blanks or outer quotes on reading is quoted so that it
// reads back as written; a line break would start a new line, so the value ends there.
std::string StoredValue(std::string_view value) {
    value = value.substr(0, value.find_first_of("\r\n"));
    const bool needsQuotes =
        !value.empty() && (TrimBlanks(value).size() != value.size() || HasOuterQuotes(value));
    if (!needsQuotes) {
        return std::string(value);
    }
    std::string quoted;
    quoted.reserve(value.size() + 2);
    quoted.append(1, '"').append(value).append(1, '"');
    return quoted;
}

bool HasLineBreak(std::string_view name) {
    return name.find_first_of("\r\n") != std::string_view::npos;
}

bool IsStorableSection(std::string_view section) {
    const std::string_view name = TrimBlanks(section);
    return !name.empty() && !HasLineBreak(name) && name.find(']') == std::string_view::npos;
}

bool IsStorableKey(std::string_view key) {
    const std::string_view name = TrimBlanks(key);
    return !name.empty() && !HasLineBreak(name) && name.find('=') == std::string_view::npos &&
           name.front() != ';' && name.front() != '[';
}

std::string ErrnoText(int code) {
    return std::system_category().message(code);
}

bool Fail(std::string* error, std::string message) {
    if (error != nullptr) {
        *error = std::move(message);
    }
    return false;
}

std::string Quoted(const std::string& path) {
    return "\"" + path + "\"";
}

constexpr std::string_view TempLetters = "abcdefghijklmnopqrstuvwxyz0123456789";
constexpr std::size_t TempRandomLength = 8;
constexpr std::string_view TempSuffix = ".tmp";

std::string TempPrefix(std::string_view base) {
    return "." + std::string(base.substr(0, MaxTempBaseLength)) + ".";
}

std::string RandomTempName(const std::string& folder, std::string_view base) {
    static std::random_device random;
    std::string name = folder + TempPrefix(base);
    for (std::size_t i = 0; i < TempRandomLength; ++i) {
        name += TempLetters[random() % TempLetters.size()];
    }
    name += TempSuffix;
    return name;
}

// A save holds a lock on its temporary file for as long as it lives; the kernel drops
// it when the process dies, so an unlocked temporary name is one a killed save left.
bool LockWhole(int fd, short type) {
    struct flock lock {};
    lock.l_type = type;
    lock.l_whence = SEEK_SET;
    return ::fcntl(fd, F_OFD_SETLK, &lock) == 0;
}

bool IsOurTempName(std::string_view name, std::string_view base) {
    const std::string prefix = TempPrefix(base);
    if (name.size() != prefix.size() + TempRandomLength + TempSuffix.size() ||
        !name.starts_with(prefix) || !name.ends_with(TempSuffix)) {
        return false;
    }
    const std::string_view random = name.substr(prefix.size(), TempRandomLength);
    return random.find_first_not_of(TempLetters) == std::string_view::npos;
}

// Removes what killed saves of ours left beside the file: only our own regular files
// of the exact name pattern whose save is no longer running.
void RemoveStaleTemps(const std::string& folder, std::string_view base) {
    const CUniqueFd dir(
        ::open(folder.empty() ? "." : folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (!dir.IsValid()) {
        return;
    }
    DIR* stream = ::fdopendir(::dup(dir.Get()));
    if (stream == nullptr) {
        return;
    }
    while (const dirent* entry = ::readdir(stream)) {
        if (!IsOurTempName(entry->d_name, base)) {
            continue;
        }
        const CUniqueFd temp(::openat(dir.Get(), entry->d_name,
                                      O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_NOCTTY | O_CLOEXEC));
        struct stat status {};
        if (!temp.IsValid() || ::fstat(temp.Get(), &status) != 0 || !S_ISREG(status.st_mode) ||
            status.st_uid != ::geteuid() || !LockWhole(temp.Get(), F_RDLCK)) {
            continue;
        }
        ::unlinkat(dir.Get(), entry->d_name, 0);
    }
    ::closedir(stream);
}

// The temporary file of a save. Where the file system allows, it has no name until the
// save commits it, so that a killed save leaves nothing behind; elsewhere it has a
// random name from the start and is removed unless the save commits it.
class CTempFile {
public:
    CTempFile() = default;
    ~CTempFile() {
        File.Close();
        if (!Path.empty() && !Committed) {
            ::unlink(Path.c_str());
        }
    }
    CTempFile(const CTempFile&) = delete;
    CTempFile& operator=(const CTempFile&) = delete;

    // The mode argument lets the kernel apply the umask (and a default ACL) to a new
    // file.
    bool Create(const std::string& folder, std::string_view base) {
        Folder = folder;
        Base = base;
        File.Reset(
            ::open(folder.empty() ? "." : folder.c_str(), O_TMPFILE | O_WRONLY | O_CLOEXEC, 0644));
        if (File.IsValid()) {
            return LockWhole(File.Get(), F_WRLCK);
        }
        // O_EXCL with a random name gives what mkstemp gives.
        for (int attempt = 0; attempt < TempNameAttempts; ++attempt) {
            std::string name = RandomTempName(folder, base);
            File.Reset(::open(name.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0644));
            if (File.IsValid()) {
                Path = std::move(name);
                return LockWhole(File.Get(), F_WRLCK);
            }
            if (errno != EEXIST) {
                return false;
            }
        }
        errno = EEXIST;
        return false;
    }

    int Fd() const { return File.Get(); }

    // Gives the complete file the name target. A file without a name gets a temporary
    // one first: link cannot replace, rename can.
    bool CommitAs(const std::string& target) {
        if (Path.empty() && !LinkToTempName()) {
            return false;
        }
        if (::rename(Path.c_str(), target.c_str()) != 0) {
            return false;
        }
        Committed = true;
        // Written and synced already: a late close error cannot undo the commit.
        File.Close();
        return true;
    }

private:
    bool LinkToTempName() {
        const std::string self = "/proc/self/fd/" + std::to_string(File.Get());
        for (int attempt = 0; attempt < TempNameAttempts; ++attempt) {
            std::string name = RandomTempName(Folder, Base);
            if (::linkat(AT_FDCWD, self.c_str(), AT_FDCWD, name.c_str(), AT_SYMLINK_FOLLOW) == 0) {
                Path = std::move(name);
                return true;
            }
            if (errno != EEXIST) {
                return false;
            }
        }
        errno = EEXIST;
        return false;
    }

    CUniqueFd File;
    std::string Folder;
    std::string Base;
    std::string Path; // empty while the file has no name
    bool Committed = false;
};

bool WriteAll(int fd, std::string_view bytes) {
    while (!bytes.empty()) {
        const ssize_t written = ::write(fd, bytes.data(), bytes.size());
        if (written < 0) {
            if (errno == EINTR) {
                continue;
            }
            return false;
        }
        if (written == 0) {
            errno = EIO;
            return false;
        }
        bytes.remove_prefix(static_cast<std::size_t>(written));
    }
    return true;
}

// The folder part with its trailing slash ("" for a bare name) and the name.
std::pair<std::string, std::string> SplitPath(const std::string& path) {
    const std::string_view folder = FolderPart(path);
    return {std::string(folder), path.substr(folder.size())};
}

std::optional<std::string> ReadLink(const std::string& path) {
    std::string buffer(256, '\0');
    for (;;) {
        const ssize_t length = ::readlink(path.c_str(), buffer.data(), buffer.size());
        if (length < 0) {
            return std::nullopt;
        }
        if (static_cast<std::size_t>(length) < buffer.size()) {
            buffer.resize(static_cast<std::size_t>(length));
            return buffer;
        }
        buffer.resize(buffer.size() * 2);
    }
}

// Settings files are often links into a folder of kept configuration; replacing the
// link by a plain file would cut that tie, so the save goes to the file it names.
std::optional<std::string> FinalTarget(std::string path, std::string* error) {
    for (int hop = 0; hop < MaxLinkHops; ++hop) {
        struct stat status {};
        if (::lstat(path.c_str(), &status) != 0 || !S_ISLNK(status.st_mode)) {
            return path;
        }
        // Only links of ours or of root are followed, the rule the kernel keeps for
        // sticky folders: anyone else's link could aim a save at a file of ours.
        if (status.st_uid != ::geteuid() && status.st_uid != 0) {
            Fail(error,
                 "Will not follow the link " + Quoted(path) + ": it belongs to another user");
            return std::nullopt;
        }
        const std::optional<std::string> link = ReadLink(path);
        if (!link || link->empty()) {
            Fail(error, "Cannot follow the link " + Quoted(path) + ": " + ErrnoText(errno));
            return std::nullopt;
        }
        path = link->front() == '/' ? *link : SplitPath(path).first + *link;
    }
    Fail(error, "Cannot follow the links to " + Quoted(path) + ": " + ErrnoText(ELOOP));
    return std::nullopt;
}

// Makes the rename itself durable. Not every file system can sync a folder, and the
// file is already complete either way, so a failure here does not fail the save.
void SyncFolder(const std::string& folder) {
    const CUniqueFd dir(
        ::open(folder.empty() ? "." : folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (dir.IsValid()) {
        ::fsync(dir.Get());
    }
}

const char* BreakBytes(uint8_t kind) {
    static constexpr const char* Bytes[] = {"", "\n", "\r\n", "\r"};
    return Bytes[kind];
}

} // namespace

CProfileFile CProfileFile::FromText(std::string_view bytes) {
    CProfileFile file;
    bool endKnown = false;
    while (!bytes.empty()) {
        const std::size_t brk = bytes.find_first_of("\r\n");
        if (brk == std::string_view::npos) {
            file.Lines.push_back({std::string(bytes), LineBreak::None});
            break;
        }
        LineBreak end = bytes[brk] == '\n' ? LineBreak::Lf : LineBreak::Cr;
        std::size_t next = brk + 1;
        if (end == LineBreak::Cr && next < bytes.size() && bytes[next] == '\n') {
            end = LineBreak::CrLf;
            ++next;
        }
        file.Lines.push_back({std::string(bytes.substr(0, brk)), end});
        if (!endKnown) {
            file.LineEnd = end;
            endKnown = true;
        }
        bytes.remove_prefix(next);
    }
    return file;
}

bool CProfileFile::Load(const std::string& path, std::string* error, IfMissing missing) {
    const std::optional<std::string> target = FinalTarget(path, error);
    if (!target) {
        return false;
    }
    const CRegularFile file = CRegularFile::Open(*target, CRegularFile::LastLink::Refuse);
    const std::string cannot = "Cannot read " + Quoted(path) + ": ";
    switch (file.Refused) {
    case CRegularFile::Refusal::None:
        break;
    case CRegularFile::Refusal::CannotOpen:
        if (file.Error == ENOENT && missing == IfMissing::Empty) {
            *this = CProfileFile();
            return true;
        }
        return Fail(error, cannot + ErrnoText(file.Error));
    case CRegularFile::Refusal::Folder:
        return Fail(error, cannot + "it is a folder");
    case CRegularFile::Refusal::NotRegular:
        return Fail(error, cannot + "it is not a regular file");
    }
    const std::string tooLarge =
        cannot + "larger than " + std::to_string(MaxFileSize) + " bytes, not a settings file";
    if (file.Size > MaxFileSize) {
        return Fail(error, tooLarge);
    }
    // Read to the end rather than trusting the size: the file may change meanwhile.
    std::string bytes(static_cast<std::size_t>(file.Size) + 1, '\0');
    std::size_t used = 0;
    for (;;) {
        int readError = 0;
        used += file.Read(bytes.data() + used, bytes.size() - used, &readError);
        if (readError != 0) {
            return Fail(error, cannot + ErrnoText(readError));
        }
        if (used < bytes.size()) {
            break; // the end of the file
        }
        if (used > MaxFileSize) {
            return Fail(error, tooLarge);
        }
        bytes.resize(std::min(bytes.size() * 2 + 1, MaxFileSize + 1));
    }
    bytes.resize(used);
    *this = FromText(bytes);
    return true;
}

std::optional<std::size_t> CProfileFile::FindSection(std::string_view section) const {
    const std::string_view wanted = TrimBlanks(section);
    for (std::size_t i = 0; i < Lines.size(); ++i) {
        const CParsedLine line = ParseLine(Lines[i].Text);
        if (line.Kind == LineKind::Section && EqualsNoCase(line.Name, wanted)) {
            return i;
        }
    }
    return std::nullopt;
}

std::size_t CProfileFile::SectionEnd(std::size_t header) const {
    for (std::size_t i = header + 1; i < Lines.size(); ++i) {
        if (ParseLine(Lines[i].Text).Kind == LineKind::Section) {
            return i;
        }
    }
    return Lines.size();
}

std::optional<std::size_t> CProfileFile::FindKey(std::size_t header, std::string_view key) const {
    const std::string_view wanted = TrimBlanks(key);
    const std::size_t end = SectionEnd(header);
    for (std::size_t i = header + 1; i < end; ++i) {
        const CParsedLine line = ParseLine(Lines[i].Text);
        if (line.Kind == LineKind::Key && EqualsNoCase(line.Name, wanted)) {
            return i;
        }
    }
    return std::nullopt;
}

std::size_t CProfileFile::LastKeyLine(std::size_t header) const {
    std::size_t last = header;
    const std::size_t end = SectionEnd(header);
    for (std::size_t i = header + 1; i < end; ++i) {
        if (ParseLine(Lines[i].Text).Kind == LineKind::Key) {
            last = i;
        }
    }
    return last;
}

void CProfileFile::InsertLine(std::size_t at, std::string text) {
    if (at > 0 && Lines[at - 1].End == LineBreak::None) {
        Lines[at - 1].End = LineEnd;
    }
    Lines.insert(Lines.begin() + static_cast<std::ptrdiff_t>(at), CLine{std::move(text), LineEnd});
}

int32_t CProfileFile::GetInt(std::string_view section, std::string_view key,
                             int32_t fallback) const {
    const std::optional<std::size_t> header = FindSection(section);
    if (!header) {
        return fallback;
    }
    const std::optional<std::size_t> index = FindKey(*header, key);
    if (!index) {
        return fallback;
    }
    const std::string_view text = Lines[*index].Text;
    return ParseDecimal(ValueOf(text, ParseLine(text)));
}

std::string CProfileFile::GetString(std::string_view section, std::string_view key,
                                    std::string_view fallback, std::size_t size) const {
    if (size == 0) {
        return {};
    }
    std::string_view value = fallback;
    if (const std::optional<std::size_t> header = FindSection(section)) {
        if (const std::optional<std::size_t> index = FindKey(*header, key)) {
            const std::string_view text = Lines[*index].Text;
            value = ValueOf(text, ParseLine(text));
        }
    }
    return std::string(value.substr(0, size - 1));
}

void CProfileFile::WriteString(std::string_view section, std::string_view key,
                               std::string_view value) {
    if (!IsStorableSection(section) || !IsStorableKey(key)) {
        return;
    }
    const std::string stored = StoredValue(value);
    const std::string_view keyName = TrimBlanks(key);
    const std::optional<std::size_t> header = FindSection(section);
    if (!header) {
        InsertLine(Lines.size(), "[" + std::string(TrimBlanks(section)) + "]");
        InsertLine(Lines.size(), std::string(keyName) + "=" + stored);
        return;
    }
    if (const std::optional<std::size_t> index = FindKey(*header, key)) {
        // Keep the line's own spelling of the key and the blanks after '='.
        std::string& text = Lines[*index].Text;
        const std::size_t valueStart = ParseLine(text).ValueStart;
        const std::size_t keep = std::min(text.find_first_not_of(Blanks, valueStart), text.size());
        text.resize(keep);
        text += stored;
        return;
    }
    InsertLine(LastKeyLine(*header) + 1, std::string(keyName) + "=" + stored);
}

void CProfileFile::DeleteKey(std::string_view section, std::string_view key) {
    const std::optional<std::size_t> header = FindSection(section);
    if (!header) {
        return;
    }
    if (const std::optional<std::size_t> index = FindKey(*header, key)) {
        // A last line without a line end passes its lack of one to the line before.
        if (Lines[*index].End == LineBreak::None && *index > 0) {
            Lines[*index - 1].End = LineBreak::None;
        }
        Lines.erase(Lines.begin() + static_cast<std::ptrdiff_t>(*index));
    }
}

void CProfileFile::WriteInt(std::string_view section, std::string_view key, int32_t value) {
    WriteString(section, key, std::to_string(value));
}

std::string CProfileFile::Text() const {
    std::string text;
    for (const CLine& line : Lines) {
        text += line.Text;
        text += BreakBytes(static_cast<uint8_t>(line.End));
    }
    return text;
}

bool SaveFileAtomically(const std::string& path, std::string_view bytes, std::string* error) {
    const std::optional<std::string> resolved = FinalTarget(path, error);
    if (!resolved) {
        return false;
    }
    const std::string& target = *resolved;
    const auto [folder, base] = SplitPath(target);
    const std::string failed = "Cannot save " + Quoted(path) + ": ";
    if (base.empty()) {
        return Fail(error, failed + "the path names no file");
    }

    struct stat old {};
    const bool exists = ::stat(target.c_str(), &old) == 0;
    if (!exists && errno != ENOENT) {
        return Fail(error, failed + ErrnoText(errno));
    }
    if (exists && S_ISDIR(old.st_mode)) {
        return Fail(error, failed + "a folder stands where the file should be");
    }
    if (exists && !S_ISREG(old.st_mode)) {
        return Fail(error, failed + "it is not a regular file");
    }
    // Renaming would replace a file the user has made read-only; honour that instead.
    if (exists && ::faccessat(AT_FDCWD, target.c_str(), W_OK, AT_EACCESS) != 0) {
        return Fail(error, failed + ErrnoText(errno));
    }

    RemoveStaleTemps(folder, base);
    CTempFile temp;
    if (!temp.Create(folder, base)) {
        const std::string where = folder.empty() ? std::string(".") : folder;
        return Fail(error,
                    failed + "cannot create a file in " + Quoted(where) + ": " + ErrnoText(errno));
    }
    if (exists) {
        // Owner and group stay where allowed (root, or a group of ours); else ours, as for
        // any new file.
        [[maybe_unused]] const int owned = ::fchown(temp.Fd(), old.st_uid, old.st_gid);
        if (::fchmod(temp.Fd(), old.st_mode & 07777) != 0) {
            return Fail(error, failed + ErrnoText(errno));
        }
    }
    if (!WriteAll(temp.Fd(), bytes) || ::fsync(temp.Fd()) != 0 || !temp.CommitAs(target)) {
        return Fail(error, failed + ErrnoText(errno));
    }
    SyncFolder(folder);
    return true;
}

bool CProfileFile::Save(const std::string& path, std::string* error) const {
    return SaveFileAtomically(path, Text(), error);
}
