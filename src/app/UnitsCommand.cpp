#include "app/UnitsCommand.h"

#include "engine/UnitCutter.h"
#include "settings/ReadingSettings.h"
#include "settings/TextBuffer.h"
#include "settings/TextSettings.h"

#include <ostream>

namespace {
void WriteUnit(std::ostream& out, int32_t offset, const char* unit) {
    out << offset << '\t';
    for (const char* p = unit; *p; ++p) {
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

int RunUnitsCommand(const std::string& path, std::ostream& out, std::ostream& err) {
    TextLoadError error = TextLoadError::None;
    const std::optional<CTextBuffer> text = CTextBuffer::Load(path, error);
    if (!text) {
        err << TextLoadMessage(error) << '\n';
        return 1;
    }

    const char* textStart = text->Data();
    const char* cursor = textStart;
    CReadingSettings settings;
    settings.BindText(&textStart, &cursor);
    LoadSettingsForText(settings, path, text->Size());

    char unit[UnitBufferSize] = {};
    for (;;) {
        const auto offset = static_cast<int32_t>(cursor - textStart);
        const char* next = CutUnit(cursor, unit, settings);
        if (!next) {
            if (HasVisibleText(unit))
                WriteUnit(out, offset, unit);
            break;
        }
        WriteUnit(out, offset, unit);
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
