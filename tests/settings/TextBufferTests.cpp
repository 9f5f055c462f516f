#include "settings/TextBuffer.h"
#include "support/TempFolder.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <sys/stat.h>
#include <vector>

namespace {
TEST(TextBuffer, Load_HoldsTheFileBytesFollowedByANul) {
    CTempFolder folder;
    for (const std::string& bytes : {std::string(), std::string("a\0b\xff\r\n", 6)}) {
        WriteBytes(folder.Path("t"), bytes);
        TextLoadError error = TextLoadError::Cancelled;
        const auto text = CTextBuffer::Load(folder.Path("t"), error);
        ASSERT_TRUE(text && error == TextLoadError::None);
        EXPECT_EQ(std::string(text->Data(), static_cast<std::size_t>(text->Size()) + 1),
                  bytes + '\0');
    }
}

TEST(TextBuffer, Load_RefusesWhatIsNoRegularFileOrTooLargeBeforeReading) {
    CTempFolder folder;
    std::filesystem::create_directory(folder.Path("folder"));
    ::mkfifo(folder.Path("fifo").c_str(), 0600);
    WriteBytes(folder.Path("big"), ""); // sparse: only the size counts
    std::filesystem::resize_file(folder.Path("big"), CTextBuffer::SizeLimit);
    for (const auto& [name, expected] : {std::pair{"folder", TextLoadError::CannotOpen},
                                         {"fifo", TextLoadError::CannotOpen},
                                         {"big", TextLoadError::TooLarge}}) {
        SCOPED_TRACE(name);
        int calls = 0;
        TextLoadError error = TextLoadError::None;
        EXPECT_FALSE(CTextBuffer::Load(folder.Path(name), error,
                                       [&](uint64_t, uint64_t) { return ++calls > 0; }));
        EXPECT_EQ(error, expected);
        EXPECT_EQ(calls, 0);
    }
}

TEST(TextBuffer, Load_ReportsEveryChunkAndStopsWhenTheCallbackSaysSo) {
    CTempFolder folder;
    const uint64_t total = 2 * CTextBuffer::ChunkSize + 5;
    WriteBytes(folder.Path("t"), std::string(total, 'x'));
    for (const bool goOn : {true, false}) {
        std::vector<uint64_t> calls;
        TextLoadError error = TextLoadError::None;
        const auto text =
            CTextBuffer::Load(folder.Path("t"), error, [&](uint64_t done, uint64_t all) {
                EXPECT_EQ(all, total);
                calls.push_back(done);
                return goOn;
            });
        EXPECT_EQ(text.has_value(), goOn);
        EXPECT_EQ(error, goOn ? TextLoadError::None : TextLoadError::Cancelled);
        std::vector<uint64_t> expected{CTextBuffer::ChunkSize, 2 * CTextBuffer::ChunkSize, total};
        expected.resize(goOn ? 3 : 1);
        EXPECT_EQ(calls, expected);
    }
}
} // namespace
