// SPDX-License-Identifier: GPL-3.0-or-later
#include "engine/UnitCutter.h"
#include "settings/ReadingSettings.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

namespace {
using Units = std::vector<std::string>;

Units CutAll(const std::string& text, const CReadingSettings& settings) {
    // Exact-size blocks, for AddressSanitizer; the plain loops must cut every unit alike.
    const auto buffer = std::make_unique<char[]>(text.size() + 1);
    std::memcpy(buffer.get(), text.c_str(), text.size() + 1);
    const auto unit = std::make_unique<char[]>(UnitBufferSize);
    const auto loops = std::make_unique<char[]>(UnitBufferSize);
    Units units;
    for (const char* cursor = buffer.get();;) {
        const char* next = CutUnit(cursor, unit.get(), settings);
        EXPECT_EQ(next, CutUnitBytewise(cursor, loops.get(), settings));
        EXPECT_STREQ(unit.get(), loops.get());
        units.emplace_back(unit.get());
        if (!next || next <= cursor)
            return units;
        cursor = next;
    }
}

Units Split(const std::string& text, char bar = '|') {
    Units parts;
    for (std::size_t at = 0, end = 0; end != std::string::npos; at = end + 1) {
        end = text.find(bar, at);
        parts.push_back(text.substr(at, end - at));
    }
    return parts;
}

void Configure(CReadingSettings& to, const char* stops, int32_t uc, int32_t max, int32_t min) {
    to.CharacterMode = true;
    std::strncpy(to.StopSimbols, stops, CReadingSettings::MaxStopSymbols);
    to.UcOffset = uc;
    to.MaxText = max;
    to.MinText = min;
}

// The worked examples, then the budget edges: packing is reached with no stop symbols
// and MaxText as the budget. The units are written apart by '|'.
TEST(CharacterMode, Cut_CountsCharactersAndKeepsMarksWithTheirLetter) {
    const std::string e = "e\xCC\x81", mark = "\xCC\x81"; // e, a combining acute accent
    const std::string russian = "Было поздно, и дом был тих. Никто не шевелился.\r\n"
                                "Часы на старой стене пробили двенадцать.";
    const std::string japanese = "夜が更け、家は静かだった。誰も動かなかった。\r\n"
                                 "壁に掛けた古い時計がちょうど十二時を打った。";
    const struct {
        int32_t MaxText, MinText, UcOffset;
        const char* Stops;
        std::string Text, Cut;
    } cases[] = {
        {32, 12, 2, ",;.:?!\n\r", russian,
         "Было |поздно, и |дом был тих.| Никто не шевелился|Часы на старой стене пробили "
         "|двенадцать."},
        // No spaces: a long run is split by the budget. UcOffset 2 counts characters, so
        // only the line breaks are unconditional and a short span before 、 is packed.
        {10, 6, 2, "。、\r\n", japanese,
         "夜が更け、家|は静かだった。|誰も動かなかった|壁に掛けた古い時計が|ちょうど十二時を打っ|"
         "た。"},
        {5, 1, 0, "", "абвг", "абвг"},
        {5, 1, 0, "", "абвгд", "абвгд|"},
        {5, 1, 0, "", "слово ещё", "слово |ещё"},
        {5, 1, 0, "", "словоо ещё", "слово|о ещё|"},
        {7, 1, 0, "", "да нет и", "да нет |и"},
        {6, 1, 0, "", "да нет и", "да |нет и"},
        {4, 1, 0, "", "日本語の文章", "日本語の|文章"},
        {3, 1, 0, "", e + e + e + e, e + "|" + e + "|" + e + "|" + e},
        {4, 1, 0, "", e + e + e + e, e + e + "|" + e + e + "|"},
        {1, 1, 0, "", e + e, "e|" + mark + "|e|" + mark + "|"},
        {2, 1, 0, "", mark + mark + mark, mark + mark + "|" + mark},
        {5, 1, 0, "…", "Ну… и всё", "Ну…|и |всё"},
        {5, 1, 0, "…\r\n", "Ну…\r\nи", "Ну|и"},
        {5, 1, 0, "….", "Ну……. да", "Ну…| да"},
        {32, 12, 2, "…,", "да, нет и ещё много слов здесь и там",
         "да, нет и |ещё много слов здесь и там"},
        // Closing quotes and brackets stay with the stop symbol before them.
        {8, 1, 0, "。.", "「行く。」と言った。", "「行く。」|と言った。"},
        {8, 1, 0, ".", "«Да.» Нет.", "«Да.»| Нет."},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Text);
        CReadingSettings settings;
        Configure(settings, c.Stops, c.UcOffset, c.MaxText, c.MinText);
        EXPECT_EQ(CutAll(c.Text, settings), Split(c.Cut));
    }
}
} // namespace
