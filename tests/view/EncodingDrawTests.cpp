// SPDX-License-Identifier: GPL-3.0-or-later
#include "support/gui/ViewFixture.h"

#include "text/TextEncoding.h"

namespace {
// The unit on the screen takes the place Qt lays the whole text out in: a character
// dropped or split would change it.
class EncodingDraw : public ViewFixture {
protected:
    void ExpectShownWhole(const std::string& bytes, const char* encoding, const QString& shown) {
        Settings.Encoding = encoding;
        Settings.CharacterMode = Settings.Encoding == TextEncoding::Utf8;
        View->show();
        Load(bytes);
        View->SetPlayState(CFlashView::Run);
        Advance(Settings.freq);
        EXPECT_EQ(View->ShownUnitRect(), View->UnitRect(shown));
        EXPECT_NE(View->ShownUnitRect(), View->UnitRect(shown.chopped(1)));
    }
};

TEST_F(EncodingDraw, JapaneseUnit_DrawnWithEveryCharacter) {
    ExpectShownWhole("日本語の文章には空白がありません。", "UTF-8",
                     QStringLiteral("日本語の文章には空白がありません。"));
}

TEST_F(EncodingDraw, CodePageUnit_DrawnWithEveryCharacter) {
    ExpectShownWhole(*TextEncoding::FromUtf8("Это текст.", "windows-1251"), "windows-1251",
                     QStringLiteral("Это текст."));
}
} // namespace
