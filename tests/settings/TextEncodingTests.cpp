// SPDX-License-Identifier: GPL-3.0-or-later
#include "settings/TextBuffer.h"
#include "settings/TextSettings.h"
#include "support/TempFolder.h"
#include "text/TextEncoding.h"

#include <gtest/gtest.h>

namespace {
using namespace std::string_literals;
namespace Enc = TextEncoding;

const std::string Prose = "Всё смешалось в доме Облонских. Жена узнала, что муж был в связи с "
                          "бывшею в их доме француженкою-гувернанткой, и объявила мужу, что не "
                          "может жить с ним в одном доме. Положение это продолжалось уже третий "
                          "день и мучительно чувствовалось и самими супругами, и всеми членами "
                          "семьи, и домочадцами.";

TEST(TextEncoding, Detect_MarksValidUtf8AndRussianCodePages) {
    const std::pair<std::string, std::string_view> rows[] = {
        {"\xFF\xFE\0\0o\0\0\0"s, "UTF-32LE"},
        {"\0\0\xFE\xFF\0\0\0o"s, "UTF-32BE"},
        {"\xFE\xFF\0o"s, "UTF-16BE"},
        {Prose, "UTF-8"},
        {*Enc::FromUtf8(Prose, "windows-1251"), "windows-1251"},
        {*Enc::FromUtf8(Prose, "KOI8-R"), "KOI8-R"}};
    for (const auto& [bytes, encoding] : rows) {
        SCOPED_TRACE(encoding);
        EXPECT_EQ(Enc::Detect(bytes).Encoding, encoding);
    }
    // A UTF-8 sequence cut by the detection limit is still UTF-8.
    std::string head(Enc::DetectionLimit - 1, 'a');
    EXPECT_EQ(Enc::Detect(head + "\xD0\x96").Encoding, "UTF-8");
}

TEST(TextEncoding, Load_ConvertsWhatIsNotHeldAsBytesAndAStoredEncodingWins) {
    CTempFolder dir;
    WriteBytes(dir.Path("u16.txt"), "\xFF\xFE\x16\x04"
                                    "a\0"s);
    WriteBytes(dir.Path("ru.txt"), *Enc::FromUtf8(Prose, "windows-1251"));
    WriteBytes(dir.Path("ru.txt.skm"), "[MAIN]\nEncoding=koi8-r\n");
    TextLoadError error = TextLoadError::None;
    const auto u16 = CTextBuffer::Load(dir.Path("u16.txt"), error);
    ASSERT_TRUE(u16);
    EXPECT_EQ(std::string(u16->Data()), "\xD0\x96"
                                        "a");
    EXPECT_TRUE(u16->IsUtf8());
    WriteBytes(dir.Path("bom.txt"), "\xEF\xBB\xBF"
                                    "ab");
    EXPECT_EQ(std::string(CTextBuffer::Load(dir.Path("bom.txt"), error)->Data()), "ab");
    const std::string stored = StoredEncoding(dir.Path("ru.txt"));
    EXPECT_EQ(stored, "KOI8-R");
    const auto ru = CTextBuffer::Load(dir.Path("ru.txt"), error, {}, stored);
    ASSERT_TRUE(ru);
    EXPECT_EQ(ru->Encoding(), "KOI8-R");
    EXPECT_EQ(ru->Size(), static_cast<int32_t>(Enc::FromUtf8(Prose, "windows-1251")->size()));
    EXPECT_FALSE(ru->IsUtf8());
}
// A text repeated past the head and the first piece a converted file is read in, so
// that both end inside one of its sequences.
std::string Repeated(std::string_view prefix, std::string_view unit) {
    std::string text(prefix);
    while (text.size() < 1'500'000)
        text += unit;
    return text;
}

// A converted text is read and converted a piece at a time: a sequence cut by a
// piece's end converts as it does in the whole.
TEST(TextEncoding, Load_SequenceCutByAPieceEnd_ConvertsAsTheWhole) {
    const struct {
        const char* Name;
        std::string Bytes;
        std::string_view Encoding;
    } rows[] = {
        {"UTF-16LE, a surrogate pair cut",
         "\xFF\xFE"s + *Enc::FromUtf8(Repeated("bb", "a\U0001F600"), "UTF-16LE"), "UTF-16LE"},
        {"GB18030, four-byte sequences cut", *Enc::FromUtf8(Repeated("", "я\U0001F600"), "GB18030"),
         "GB18030"},
        {"Shift_JIS, two-byte characters cut", *Enc::FromUtf8(Repeated("a", "日本"), "Shift_JIS"),
         "Shift_JIS"},
        {"UTF-16BE, an odd byte at the end",
         "\xFE\xFF"s + *Enc::FromUtf8(Repeated("", "ab"), "UTF-16BE") + "x", "UTF-16BE"},
        {"UTF-16LE, a lone surrogate at a piece end",
         "\xFF\xFE"s + Enc::FromUtf8(Repeated("", "ab"), "UTF-16LE")->insert(262'140, "\x3D\xD8"),
         "UTF-16LE"},
    };
    CTempFolder dir;
    for (const auto& row : rows) {
        SCOPED_TRACE(row.Name);
        WriteBytes(dir.Path("text.txt"), row.Bytes);
        const std::size_t bom = Enc::BomLength(row.Bytes, row.Encoding);
        const std::string whole =
            *Enc::ToUtf8(std::string_view(row.Bytes).substr(bom), row.Encoding);
        TextLoadError error = TextLoadError::None;
        const auto text = CTextBuffer::Load(dir.Path("text.txt"), error, {}, row.Encoding);
        ASSERT_TRUE(text);
        EXPECT_TRUE(std::string_view(text->Data(), text->Size()) == whole);
        std::string streamed;
        const auto write = [&streamed](std::string_view utf8) {
            streamed += utf8;
            return true;
        };
        EXPECT_EQ(CTextBuffer::StreamUtf8(dir.Path("text.txt"), row.Encoding, false, write, error),
                  CTextBuffer::Streamed::Done);
        EXPECT_TRUE(streamed == whole);
    }
}

// --text writes a plain text as it reads it: what it writes is what Load holds, in
// UTF-8; a book is left to Load, and a writer that fails stops the stream.
TEST(TextEncoding, StreamUtf8_WritesWhatLoadHoldsInUtf8) {
    CTempFolder dir;
    const struct {
        const char* Name;
        std::string Bytes;
        CTextBuffer::Streamed Result;
        std::string Written;
    } rows[] = {
        {"UTF-8 without its mark", "\xEF\xBB\xBF"s + Prose, CTextBuffer::Streamed::Done, Prose},
        {"a code page held as bytes", *Enc::FromUtf8(Prose, "windows-1251"),
         CTextBuffer::Streamed::Done, Prose},
        {"a book", "<!DOCTYPE html><p>Hi</p>", CTextBuffer::Streamed::Book, ""},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.Name);
        WriteBytes(dir.Path("text.txt"), row.Bytes);
        std::string written;
        TextLoadError error = TextLoadError::None;
        const auto result = CTextBuffer::StreamUtf8(
            dir.Path("text.txt"), {}, false,
            [&written](std::string_view utf8) {
                written += utf8;
                return true;
            },
            error);
        EXPECT_EQ(result, row.Result);
        EXPECT_EQ(written, row.Written);
    }
    TextLoadError error = TextLoadError::None;
    const auto refusing = [](std::string_view) {
        return false;
    };
    EXPECT_EQ(CTextBuffer::StreamUtf8(dir.Path("text.txt"), {}, true, refusing, error),
              CTextBuffer::Streamed::Failed);
    EXPECT_EQ(error, TextLoadError::Cancelled);
}

// Memory handed out as asked, the largest ask kept.
class CRecordingOutput final : public Enc::IGrowingOutput {
public:
    char* Grow(std::size_t size) override {
        Largest = std::max(Largest, size);
        Bytes.resize(size);
        return Bytes.data();
    }
    std::string Bytes;
    std::size_t Largest = 0;
};

// A text that grows past the limit in UTF-8 is not converted to its end first.
TEST(TextEncoding, ToUtf8Into_Limit_StopsOncePastItAndGrowsNoFurther) {
    const std::string wide = *Enc::FromUtf8(std::string(50'000, 'a') + "\u0416", "UTF-16LE");
    const struct {
        const char* Name;
        std::size_t Limit;
        bool Past;
    } rows[] = {
        {"text at the limit", 50'002, false},
        {"one byte past", 50'001, true},
        {"far past", 1'000, true},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.Name);
        CRecordingOutput output;
        const std::optional<std::size_t> converted =
            Enc::ToUtf8Into(wide, "UTF-16LE", output, row.Limit);
        ASSERT_TRUE(converted);
        EXPECT_EQ(*converted > row.Limit, row.Past);
        EXPECT_LE(output.Largest, row.Limit + 100);
    }
}
} // namespace
