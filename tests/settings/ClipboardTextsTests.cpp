// SPDX-License-Identifier: GPL-3.0-or-later
#include "settings/ClipboardTexts.h"
#include "support/TempFolder.h"

#include <gtest/gtest.h>

namespace {

// The same text twice is one file; another text a file of its own; a file that holds
// something else under a text's name is left as it is.
TEST(ClipboardTexts, Keep_NamedByContentNeverWritingOverAnotherText) {
    const CTempFolder folder;
    const std::string kept = folder.Path("state/clipboard");
    std::string error;
    const std::optional<std::string> first = ClipboardTexts::Keep("One text.", kept, error);
    ASSERT_TRUE(first.has_value()) << error;
    EXPECT_EQ(ClipboardTexts::Keep("One text.", kept, error), first);
    EXPECT_NE(ClipboardTexts::Keep("Another text.", kept, error), first);
    WriteBytes(*first, "Changed by hand.");
    const std::optional<std::string> again = ClipboardTexts::Keep("One text.", kept, error);
    ASSERT_TRUE(again.has_value()) << error;
    EXPECT_NE(again, first);
    EXPECT_EQ(ReadBytes(*first), "Changed by hand.");
    EXPECT_EQ(ReadBytes(*again), "One text.");
    EXPECT_TRUE(ClipboardTexts::IsKept(*again, kept));
}

TEST(ClipboardTexts, IsKept_OnlyTheFoldersOwnNames) {
    const struct {
        const char* Name;
        const char* Path;
        bool Kept;
    } rows[] = {
        {"a kept text", "/s/clip/clipboard-0123456789abcdef.txt", true},
        {"another name in the folder", "/s/clip/notes.txt", false},
        {"below the folder", "/s/clip/x/clipboard-0123456789abcdef.txt", false},
        {"a folder that begins alike", "/s/clipboard/clipboard-0123456789abcdef.txt", false},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.Name);
        EXPECT_EQ(ClipboardTexts::IsKept(row.Path, "/s/clip"), row.Kept);
    }
}

} // namespace
