// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/UnitsCommand.h"

#include "engine/Pacing.h"
#include "engine/UnitCutter.h"
#include "settings/ReadingSettings.h"
#include "settings/TextBuffer.h"
#include "settings/TextSettings.h"
#include "text/TextEncoding.h"

#include <ostream>

namespace {
// Units of a text held in a single-byte code page are written as UTF-8, after their
// offset (none when the offset is negative: the line began already).
void WriteUnit(std::ostream& out, int32_t offset, const char* unit, const CTextBuffer& text) {
    if (offset >= 0)
        out << offset;
    out << '\t';
    const std::string converted =
        text.IsUtf8() ? std::string(unit)
                      : TextEncoding::ToUtf8(unit, text.Encoding()).value_or(std::string(unit));
    for (const char* p = converted.c_str(); *p; ++p) {
        switch (*p) {
        case '\\':
            out << "\\\\";
            break;
        case '\n':
            out << "\\n";
            break;
        case '\r':
            out << "\\r";
            break;
        case '\t':
            out << "\\t";
            break;
        default:
            out << *p;
        }
    }
    out << '\n';
}
} // namespace

namespace {
std::optional<CTextBuffer> LoadText(const std::string& path, std::ostream& err) {
    TextLoadError error = TextLoadError::None;
    std::string why;
    std::optional<CTextBuffer> text =
        CTextBuffer::Load(path, error, {}, StoredEncoding(path), &why);
    if (!text)
        err << TextLoadMessage(error) << (why.empty() ? "" : ": ") << why << '\n';
    return text;
}
} // namespace

int RunTextCommand(const std::string& path, std::ostream& out, std::ostream& err) {
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
    for (int index = 0;; ++index) {
        const auto offset = static_cast<int32_t>(cursor - textStart);
        const char* next = CutUnit(cursor, unit, settings);
        const bool last = !next;
        if (last && !HasVisibleText(unit))
            break;
        if (schedule) {
            const Pacing::SPace pace = Pacing::PaceOf(unit, before, index, settings);
            const bool paced = settings.Pacing.On != 0;
            out << offset << '\t' << (paced ? Pacing::GapMs(pace, settings) : settings.freq) << '\t'
                << (paced ? Pacing::ShowMs(pace, settings) : settings.durat);
            WriteUnit(out, -1, unit, *text);
            before = last ? before : EndOfUnit(cursor, next, settings);
        } else {
            WriteUnit(out, offset, unit, *text);
        }
        if (last)
            break;
        cursor = next;
    }
    out << "END\n";
    out.flush();
    if (!out.good()) {
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
