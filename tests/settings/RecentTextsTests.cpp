// SPDX-License-Identifier: GPL-3.0-or-later
#include "settings/RecentTexts.h"
#include "support/TempFolder.h"

#include <gtest/gtest.h>

namespace {
using Paths = std::vector<std::string>;
using namespace std::string_literals;

// Two windows take turns; a text comes again; unstorable names change nothing; none exists.
TEST(RecentTexts, Add_NewestFirstOnceEachTenKeptAcrossWindowsMissingDropped) {
    const CTempFolder folder;
    const std::string file = folder.Path("state/skimmet/recent");
    CRecentTexts mine(file), other(file);
    for (int i = 0; i < 11; ++i)
        (i % 2 ? other : mine).Add("/t/" + std::to_string(i));
    for (const std::string path : {"/t/3", "/t/new\nline", "relative.txt"})
        mine.Add(path);
    EXPECT_EQ(mine.Paths(), (Paths{"/t/3", "/t/10", "/t/9", "/t/8", "/t/7", "/t/6", "/t/5", "/t/4",
                                   "/t/2", "/t/1"}));
    other.DropMissing();
    EXPECT_EQ(ReadBytes(file), "");
}

// What is not a list of ours gives its absolute paths, once each, from its first 64 KiB.
TEST(RecentTexts, Load_DamagedFile_KeepsTheGoodLinesOnly) {
    for (const auto& [bytes, expected] :
         {std::pair{"\x7f\x45LF\0/x\n/a\n/a\nrel\n\n/b"s, Paths{"/a", "/b"}},
          {std::string(CRecentTexts::MaxFileSize, '/') + "\n/after\n", Paths{}}}) {
        const CTempFolder folder;
        WriteBytes(folder.Path("recent"), bytes);
        CRecentTexts recent(folder.Path("recent"));
        recent.Load();
        EXPECT_EQ(recent.Paths(), expected);
    }
}
} // namespace
