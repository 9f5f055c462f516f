#include "TempFolder.h"
#include "settings/TextBuffer.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <sys/stat.h>
#include <utility>
#include <vector>

namespace {
struct ContentCase {
    const char* Name;
    std::string Bytes;
};

void PrintTo(const ContentCase& c, std::ostream* os) {
    *os << c.Name;
}

class TextBufferContent : public testing::TestWithParam<ContentCase> {};

TEST_P(TextBufferContent, HoldsFileBytesFollowedByNul) {
    TempFolder folder;
    const std::string path = folder.Path("text.txt");
    WriteBytes(path, GetParam().Bytes);
    TextLoadError error = TextLoadError::Cancelled;
    const auto text = CTextBuffer::Load(path, error);
    ASSERT_TRUE(text);
    EXPECT_EQ(error, TextLoadError::None);
    ASSERT_EQ(text->Size(), static_cast<int32_t>(GetParam().Bytes.size()));
    EXPECT_EQ(std::string(text->Data(), GetParam().Bytes.size()), GetParam().Bytes);
    EXPECT_EQ(text->Data()[text->Size()], '\0');
}

INSTANTIATE_TEST_SUITE_P(Cases, TextBufferContent,
                         testing::Values(ContentCase{"Empty", ""}, ContentCase{"Short", "abc"},
                                         ContentCase{"EmbeddedNul", std::string("a\0b", 3)},
                                         ContentCase{"HighBytes", "\xff\xfe\x80\r\n"}),
                         [](const auto& info) { return std::string(info.param.Name); });

struct FailureCase {
    const char* Name;
    TextLoadError Error;
    std::string Message;
};

void PrintTo(const FailureCase& c, std::ostream* os) {
    *os << c.Name;
}

class TextBufferFailure : public testing::TestWithParam<FailureCase> {
protected:
    // Makes the thing named by the case in folder and returns its path.
    std::string Make(const TempFolder& folder) const {
        const std::string name = GetParam().Name;
        const std::string path = folder.Path("target");
        if (name == "Directory")
            std::filesystem::create_directory(path);
        else if (name == "Fifo")
            ::mkfifo(path.c_str(), 0600);
        else if (name == "SizeLimit") {
            // Sparse: the size is what counts, and it must be refused before reading.
            WriteBytes(path, "");
            std::filesystem::resize_file(path, CTextBuffer::SizeLimit);
        }
        return path;
    }
};

TEST_P(TextBufferFailure, RefusedWithMessageAndNoRead) {
    TempFolder folder;
    const std::string path = Make(folder);
    int calls = 0;
    TextLoadError error = TextLoadError::None;
    const auto text = CTextBuffer::Load(path, error, [&](uint64_t, uint64_t) {
        ++calls;
        return true;
    });
    EXPECT_FALSE(text);
    EXPECT_EQ(error, GetParam().Error);
    EXPECT_EQ(TextLoadMessage(error), GetParam().Message);
    EXPECT_EQ(calls, 0);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, TextBufferFailure,
    testing::Values(FailureCase{"Missing", TextLoadError::CannotOpen, "Error Opening File"},
                    FailureCase{"Directory", TextLoadError::CannotOpen, "Error Opening File"},
                    FailureCase{"Fifo", TextLoadError::CannotOpen, "Error Opening File"},
                    FailureCase{"SizeLimit", TextLoadError::TooLarge,
                                "Size of a text buffer can not be more than 1 Gb"}),
    [](const auto& info) { return std::string(info.param.Name); });

TEST(TextLoadMessage, EachFailureHasItsText) {
    EXPECT_STREQ(TextLoadMessage(TextLoadError::CannotAllocate), "Error Allocating Memory");
    EXPECT_STREQ(TextLoadMessage(TextLoadError::CannotRead), "Error Reading File");
    EXPECT_STREQ(TextLoadMessage(TextLoadError::Cancelled), "");
    EXPECT_STREQ(TextLoadMessage(TextLoadError::None), "");
}

class TextBufferProgress : public testing::Test {
protected:
    void SetUp() override {
        Bytes.assign(2 * CTextBuffer::ChunkSize + 5, 'x');
        Bytes.back() = 'y';
        WriteBytes(Path, Bytes);
    }
    TempFolder Folder;
    std::string Path = Folder.Path("big.txt");
    std::string Bytes;
};

TEST_F(TextBufferProgress, ReportsEveryChunkUpToTotal) {
    std::vector<std::pair<uint64_t, uint64_t>> calls;
    TextLoadError error = TextLoadError::None;
    const auto text = CTextBuffer::Load(Path, error, [&](uint64_t done, uint64_t total) {
        calls.emplace_back(done, total);
        return true;
    });
    ASSERT_TRUE(text);
    const uint64_t total = Bytes.size();
    const std::vector<std::pair<uint64_t, uint64_t>> expected{
        {CTextBuffer::ChunkSize, total}, {2 * CTextBuffer::ChunkSize, total}, {total, total}};
    EXPECT_EQ(calls, expected);
    EXPECT_EQ(text->Data()[total - 1], 'y');
}

TEST_F(TextBufferProgress, FalseFromCallback_CancelsLoad) {
    TextLoadError error = TextLoadError::None;
    int calls = 0;
    const auto text = CTextBuffer::Load(Path, error, [&](uint64_t, uint64_t) {
        ++calls;
        return false;
    });
    EXPECT_FALSE(text);
    EXPECT_EQ(error, TextLoadError::Cancelled);
    EXPECT_EQ(calls, 1);
}

TEST(TextBufferOwnership, MovedBuffer_KeepsItsBlockInPlace) {
    TempFolder folder;
    WriteBytes(folder.Path("t"), "moving");
    TextLoadError error = TextLoadError::None;
    auto text = CTextBuffer::Load(folder.Path("t"), error);
    ASSERT_TRUE(text);
    const char* before = text->Data();
    CTextBuffer held;
    EXPECT_FALSE(held.HasText());
    held = std::move(*text);
    EXPECT_EQ(held.Data(), before);
    EXPECT_STREQ(held.Data(), "moving");
}
} // namespace
