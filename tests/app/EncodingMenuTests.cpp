// SPDX-License-Identifier: GPL-3.0-or-later
#include "support/TempFolder.h"
#include "support/gui/FakeServices.h"

#include "app/CommandTable.h"
#include "app/MainFrame.h"
#include "app/TextDocument.h"
#include "text/TextEncoding.h"

#include <QApplication>
#include <gtest/gtest.h>

namespace {
int CommandOf(std::string_view encoding) {
    const auto known = TextEncoding::Known();
    return CommandId::EncodingFirst +
           static_cast<int>(std::find(known.begin(), known.end(), encoding) - known.begin());
}

TEST(EncodingMenu, Choose_ReadsTheTextAgainKeepsThePlaceAndAutoDetectForgetsTheKey) {
    CTempFolder dir;
    WriteBytes(dir.Path("ru.txt"),
               *TextEncoding::FromUtf8("Это текст. И ещё один.", "windows-1251"));
    CFakeServices fakes;
    CMainFrame frame(fakes.Services);
    ASSERT_TRUE(frame.Document().OpenLocal(dir.Path("ru.txt")));
    frame.Settings().SetPosition(11);

    frame.ExecuteCommand(CommandOf("KOI8-R"));
    EXPECT_EQ(frame.Settings().Encoding, "KOI8-R");
    EXPECT_TRUE(frame.StateOf(CommandOf("KOI8-R")).Checked);
    EXPECT_FALSE(frame.StateOf(CommandOf("windows-1251")).Checked);
    int32_t offset = 0;
    frame.Settings().GetPosition(offset);
    EXPECT_EQ(offset, 11);

    frame.ExecuteCommand(CommandId::EncodingAuto);
    EXPECT_EQ(frame.Settings().Encoding, "windows-1251");
    EXPECT_TRUE(frame.StateOf(CommandId::EncodingAuto).Checked);
    frame.close();
    EXPECT_EQ(ReadBytes(dir.Path("ru.txt.skm")).find("Encoding"), std::string::npos);
    EXPECT_TRUE(fakes.Dialogs.Messages.empty());
}
} // namespace
