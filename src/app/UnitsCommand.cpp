// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/UnitsCommand.h"

#include "engine/Pacing.h"
#include "engine/UnitCutter.h"
#include "settings/ReadingSettings.h"
#include "settings/TextBuffer.h"
#include "settings/TextSettings.h"
#include "text/TextEncoding.h"

#include <charconv>
#include <cstring>
#include <ostream>
#include <string>
#include <string_view>

namespace {

// What the commands print goes out in large writes: a unit a line, millions of lines,
// written a character at a time would cost many times the cutting.
class COutput {
public:
    explicit COutput(std::ostream& out) : Out(out) { Buffer.reserve(Capacity); }
    ~COutput() { Flush(); }
    COutput(const COutput&) = delete;
    COutput& operator=(const COutput&) = delete;

    void Append(std::string_view text) {
        Buffer.append(text);
        if (Buffer.size() >= Capacity)
            Flush();
    }
    void Append(char c) { Buffer.push_back(c); }
    void Append(uint64_t number) {
        char digits[24];
        const auto [end, ec] = std::to_chars(std::begin(digits), std::end(digits), number);
        Buffer.append(digits, static_cast<std::size_t>(end - digits));
    }
    // False when the stream could not take all of it.
    bool Flush() {
        Out.write(Buffer.data(), static_cast<std::streamsize>(Buffer.size()));
        Buffer.clear();
        Out.flush();
        return Out.good();
    }

private:
    static constexpr std::size_t Capacity = std::size_t{1} << 20;
    std::ostream& Out;
    std::string Buffer;
};

// The unit in UTF-8 (a text held in a single-byte code page is converted), with
// backslash, line feed, carriage return and tab escaped, and the line's end.
void WriteUnit(COutput& out, const char* unit, const CTextBuffer& text) {
    std::string converted;
    if (!text.IsUtf8())
        converted = TextEncoding::ToUtf8(unit, text.Encoding()).value_or(std::string(unit));
    for (const char* p = text.IsUtf8() ? unit : converted.c_str();;) {
        const std::size_t plain = std::strcspn(p, "\\\n\r\t");
        out.Append(std::string_view(p, plain));
        p += plain;
        if (*p == '\0')
            break;
        out.Append(*p == '\\' ? "\\\\" : *p == '\n' ? "\\n" : *p == '\r' ? "\\r" : "\\t");
        ++p;
    }
    out.Append('\n');
}

} // namespace

namespace {
std::optional<CTextBuffer> LoadText(const std::string& path, std::ostream& err) {
    TextLoadError error = TextLoadError::None;
    std::string why;
    std::optional<CTextBuffer> text =
        CTextBuffer::Load(path, error, {}, StoredEncoding(path), &why, StoredAsPlainText(path));
    if (!text)
        err << TextLoadMessage(error) << (why.empty() ? "" : ": ") << why << '\n';
    return text;
}
} // namespace

int RunTextCommand(const std::string& path, std::ostream& out, std::ostream& err) {
    // A plain text is written as it is read: a gigabyte need not be in memory first.
    TextLoadError error = TextLoadError::None;
    const auto write = [&out](std::string_view utf8) {
        return out.write(utf8.data(), static_cast<std::streamsize>(utf8.size())).good();
    };
    const CTextBuffer::Streamed streamed =
        CTextBuffer::StreamUtf8(path, StoredEncoding(path), StoredAsPlainText(path), write, error);
    if (streamed == CTextBuffer::Streamed::Done)
        return out.flush().good() ? 0 : 1;
    if (streamed == CTextBuffer::Streamed::Failed) {
        if (error != TextLoadError::Cancelled)
            err << TextLoadMessage(error) << '\n';
        return 1;
    }
    const std::optional<CTextBuffer> text = LoadText(path, err);
    if (!text)
        return 1;
    const std::string_view bytes(text->Data(), static_cast<std::size_t>(text->Size()));
    if (text->IsUtf8())
        out << bytes;
    else
        out << TextEncoding::ToUtf8(bytes, text->Encoding()).value_or(std::string(bytes));
    return out.flush().good() ? 0 : 1;
}

int RunContentsCommand(const std::string& path, std::ostream& out, std::ostream& err) {
    const std::optional<CTextBuffer> text = LoadText(path, err);
    if (!text)
        return 1;
    for (const SChapter& chapter : text->Contents()) {
        const std::string title =
            text->IsUtf8() ? chapter.Title
                           : TextEncoding::ToUtf8(chapter.Title, text->Encoding()).value_or("");
        out << chapter.Offset << '\t'
            << std::string(2 * static_cast<std::size_t>(chapter.Level), ' ') << title << '\n';
    }
    return out.flush().good() ? 0 : 1;
}

int RunEncodingCommand(const std::string& path, std::ostream& out, std::ostream& err) {
    const std::optional<CTextBuffer> text = LoadText(path, err);
    if (!text)
        return 1;
    out << text->Encoding() << '\n';
    return out.flush().good() ? 0 : 1;
}

namespace {

// The units, with their times when schedule is asked for: what ended each unit paces
// the gap before the next, and a run starts gently from the stored position.
int WriteUnits(const std::string& path, std::ostream& out, std::ostream& err, bool schedule) {
    const std::optional<CTextBuffer> text = LoadText(path, err);
    if (!text)
        return 1;

    const char* textStart = text->Data();
    const char* cursor = textStart;
    CReadingSettings settings;
    settings.BindText(&textStart, &cursor);
    settings.CharacterMode = text->IsUtf8();
    LoadSettingsForText(settings, path, text->Size());

    char unit[UnitBufferSize] = {};
    Pacing::End before = Pacing::End::None;
    COutput output(out);
    for (int index = 0;; ++index) {
        const auto offset = static_cast<uint64_t>(cursor - textStart);
        const char* next = CutUnit(cursor, unit, settings);
        const bool last = !next;
        if (last && !HasVisibleText(unit))
            break;
        output.Append(offset);
        output.Append('\t');
        if (schedule) {
            const Pacing::SPace pace = Pacing::PaceOf(unit, before, index, settings);
            const bool paced = settings.Pacing.On != 0;
            output.Append(uint64_t{paced ? Pacing::GapMs(pace, settings) : settings.freq});
            output.Append('\t');
            output.Append(uint64_t{paced ? Pacing::ShowMs(pace, settings) : settings.durat});
            output.Append('\t');
            before = last ? before : EndOfUnit(cursor, next, settings);
        }
        WriteUnit(output, unit, *text);
        if (last)
            break;
        cursor = next;
    }
    output.Append("END\n");
    if (!output.Flush()) {
        err << "Error Writing Output\n";
        return 1;
    }
    return 0;
}

} // namespace

int RunUnitsCommand(const std::string& path, std::ostream& out, std::ostream& err) {
    return WriteUnits(path, out, err, false);
}

int RunScheduleCommand(const std::string& path, std::ostream& out, std::ostream& err) {
    return WriteUnits(path, out, err, true);
}
