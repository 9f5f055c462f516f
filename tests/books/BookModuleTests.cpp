// SPDX-License-Identifier: GPL-3.0-or-later
#include "books/BookModule.h"

#include "support/ScopedEnv.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

using testing::ElementsAre;
using testing::HasSubstr;

namespace {
std::optional<std::string> NoText(std::string_view, BookText::Format, std::string&,
                                  const BookText::Progress&, TableOfContents&) {
    return std::nullopt;
}

BookText::Format NoZip(std::string_view) {
    return BookText::Format::DamagedZip;
}
} // namespace

TEST(BookModule, Candidates_VariableThenBesideTheProgramThenInstalled) {
    const CScopedEnv named("SKIMMET_TEST_MODULE", "/opt/m.so");
    EXPECT_THAT(BookModule::Candidates("SKIMMET_TEST_MODULE", "/usr/bin/", "../lib/skimmet"),
                ElementsAre("/opt/m.so", "/usr/bin/skimmet-books.so",
                            "/usr/bin/../lib/skimmet/skimmet-books.so"));
}

TEST(BookModule, Candidates_NoVariableAndNoProgramFolder_LeavesThoseOut) {
    const CScopedEnv unset("SKIMMET_TEST_MODULE", nullptr);
    EXPECT_THAT(BookModule::Candidates("SKIMMET_TEST_MODULE", "/b/", "lib"),
                ElementsAre("/b/skimmet-books.so", "/b/lib/skimmet-books.so"));
    EXPECT_THAT(BookModule::Candidates("SKIMMET_TEST_MODULE", "", "lib"), ElementsAre());
}

// A module left behind by another release must never be called.
TEST(BookModule, Fits_RefusesAnotherReleaseOrLayout) {
    SBookEntry fits{.DetectZip = NoZip, .Read = NoText};
    SBookEntry otherRelease = fits;
    otherRelease.Version = "0.0.1-old";
    SBookEntry otherLayout = fits;
    otherLayout.Size = sizeof(SBookEntry) + 8;
    const SBookEntry noReaders{};
    const struct {
        const char* Name;
        const SBookEntry* Entry;
        bool Fits;
        const char* Error;
    } rows[] = {
        {"this release", &fits, true, ""},
        {"another release", &otherRelease, false, "the module is from Skimmet 0.0.1-old"},
        {"another layout", &otherLayout, false, "the module has another layout"},
        {"no entry", nullptr, false, "the module has another layout"},
        {"no readers", &noReaders, false, "the module has no readers"},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.Name);
        std::string error;
        EXPECT_EQ(BookModule::Fits(row.Entry, error), row.Fits);
        EXPECT_THAT(error, HasSubstr(row.Error));
    }
}

// The tests' module is the one this build made: it loads and reads.
TEST(BookModule, Entry_BuildsModule_Loads) {
    std::string error;
    const SBookEntry* entry = BookModule::Entry(error);
    ASSERT_NE(entry, nullptr) << error;
    std::string readError;
    TableOfContents contents;
    EXPECT_EQ(entry->Read("<p>a</p>", BookText::Format::Html, readError, {}, contents), "a\n");
}
