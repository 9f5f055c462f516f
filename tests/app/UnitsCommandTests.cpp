#include "TempFolder.h"
#include "settings/TextBuffer.h"
#include "app/UnitsCommand.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <sstream>
#include <string>

namespace {
// The worked example of the cutter: 89 bytes.
constexpr char Story[] = "It was late, and the house was quiet. Nobody moved.\r\n"
                         "The clock on the wall struck twelve.";

struct UnitsCase {
    const char* Name;
    std::string Text;
    std::string Companion; // empty: none
    std::string Expected;
};

void PrintTo(const UnitsCase& c, std::ostream* os) {
    *os << c.Name;
}

class UnitsCommand : public testing::TestWithParam<UnitsCase> {
protected:
    TempFolder Folder;
    ScopedConfigHome Config{Folder.Path("config")};
};

TEST_P(UnitsCommand, PrintsEveryFlashedUnitThenEnd) {
    const auto& c = GetParam();
    const std::string path = Folder.Path("story.txt");
    WriteBytes(path, c.Text);
    if (!c.Companion.empty())
        WriteBytes(path + ".skm", c.Companion);
    const auto before = Folder.Entries();

    std::ostringstream out;
    std::ostringstream err;
    EXPECT_EQ(RunUnitsCommand(path, out, err), 0);
    EXPECT_EQ(out.str(), c.Expected);
    EXPECT_EQ(err.str(), "");
    EXPECT_EQ(Folder.Entries(), before);
    if (!c.Companion.empty()) {
        EXPECT_EQ(ReadBytes(path + ".skm"), c.Companion);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Cases, UnitsCommand,
    testing::Values(UnitsCase{"BuiltInDefaults", Story, "",
                              "0\tIt was \n"
                              "7\tlate, and \n"
                              "17\tthe house was quiet.\n"
                              "37\t Nobody moved\n"
                              "53\tThe clock on the wall struck \n"
                              "82\ttwelve.\n"
                              "END\n"},
                    UnitsCase{"CompanionPositionAndMinText", Story,
                              "[MAIN]\nMinText=1\n[POSITION]\nCurPos=7\n",
                              "7\tlate,\n"
                              "12\t and the house was quiet.\n"
                              "37\t Nobody moved\n"
                              "53\tThe clock on the wall struck \n"
                              "82\ttwelve.\n"
                              "END\n"},
                    UnitsCase{"BlankRestNotFlashed", std::string(Story) + "\r\n \t\r\n",
                              "[POSITION]\nCurPos=89\n", "END\n"},
                    UnitsCase{"EscapesBackslashAndControls", "back\\slash\ttab\r\n", "",
                              "0\tback\\\\slash\\ttab\\r\\n\n"
                              "END\n"},
                    UnitsCase{"PositionAtEndOfText", Story, "[POSITION]\nCurPos=89\n", "END\n"},
                    UnitsCase{"EmptyText", "", "", "END\n"}),
    [](const auto& info) { return std::string(info.param.Name); });

TEST(UnitsCommandErrors, UnreadableOrTooLarge_MessageOnErrAndStatusOne) {
    TempFolder folder;
    const ScopedConfigHome config(folder.Path("config"));
    WriteBytes(folder.Path("huge.txt"), "");
    std::filesystem::resize_file(folder.Path("huge.txt"), CTextBuffer::SizeLimit);
    const std::pair<std::string, std::string> cases[] = {
        {folder.Path("absent.txt"), "Error Opening File\n"},
        {folder.Folder(), "Error Opening File\n"},
        {folder.Path("huge.txt"), "Size of a text buffer can not be more than 1 Gb\n"},
    };
    for (const auto& [path, message] : cases) {
        std::ostringstream out;
        std::ostringstream err;
        EXPECT_EQ(RunUnitsCommand(path, out, err), 1) << path;
        EXPECT_EQ(out.str(), "") << path;
        EXPECT_EQ(err.str(), message) << path;
    }
}
} // namespace
