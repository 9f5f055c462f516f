#include "support/ScopedEnv.h"
#include "support/TempFolder.h"
#include "support/gui/FakeServices.h"

#include "app/CommandTable.h"
#include "app/MainFrame.h"
#include "app/SkimmetApp.h"
#include "app/TextDocument.h"
#include "platform/TerminationSignals.h"
#include "view/FlashView.h"

#include <QApplication>
#include <QTimer>
#include <gtest/gtest.h>

#include <algorithm>
#include <csignal>
#include <memory>

namespace {
constexpr std::string_view Story = "One two three. Four five six. Seven eight nine.\n";

class Session : public ::testing::Test {
protected:
    void SetUp() override {
        QApplication::setQuitOnLastWindowClosed(false);
        WriteBytes(Folder.Path("story.txt"), Story);
    }

    std::unique_ptr<CMainFrame> OpenFrame(CFakeServices& fakes, const std::string& name) {
        auto frame = std::make_unique<CMainFrame>(fakes.Services);
        frame->Document().OpenLocal(Folder.Path(name));
        return frame;
    }

    std::string Companion() const { return ReadBytes(Folder.Path("story.txt.skm")); }

    CTempFolder Folder;
    CScopedEnv Runtime{"XDG_RUNTIME_DIR", Folder.Folder().c_str()};
    CScopedEnv Config{"XDG_CONFIG_HOME", Folder.Path("config").c_str()};
};

TEST_F(Session, Signal_InEachReadingState_SavesRestoresTheModeAndEndsTheLoopWithZero) {
    namespace C = CommandId;
    struct Row {
        const char* Name;
        int Signal;
        std::vector<int> Commands;
    };
    const Row rows[] = {{"hangup while running", SIGHUP, {C::Run}},
                        {"hangup while paused", SIGHUP, {C::Run, C::Pause}},
                        {"hangup when stopped", SIGHUP, {}},
                        {"hangup in full screen", SIGHUP, {C::Run, C::FullScreen}},
                        {"terminate in full screen", SIGTERM, {C::FullScreen}},
                        {"interrupt while running", SIGINT, {C::Run}}};
    for (const Row& row : rows) {
        SCOPED_TRACE(row.Name);
        ::unlink(Folder.Path("story.txt.skm").c_str());
        CFakeServices fakes;
        auto app = std::make_unique<CSkimmetApp>(fakes.Services);
        app->SetStartFile(Folder.Path("story.txt"));
        app->InitInstance();
        for (const int id : row.Commands)
            app->MainFrame()->ExecuteCommand(id);
        const CTerminationSignals termination([&app] { app->EndSession(); });
        QTimer::singleShot(0, [&row] { std::raise(row.Signal); });
        QTimer::singleShot(5000, [] { QCoreApplication::exit(1); });

        EXPECT_EQ(QApplication::exec(), 0);
        EXPECT_FALSE(app->MainFrame()->isVisible());
        EXPECT_NE(Companion().find("CurPos=0"), std::string::npos);
        app.reset();
        const bool fullScreen = std::ranges::count(row.Commands, C::FullScreen) > 0;
        EXPECT_EQ(fakes.DisplayModes.Restores, fullScreen ? 1 : 0);
        EXPECT_FALSE(fakes.ScreenSaver.IsInhibited());
        EXPECT_TRUE(fakes.Dialogs.Messages.empty());
    }
}

TEST_F(Session, SecondWindowOnOneText_SaysSoOnceReadOnlyAndWritesNothingTillReopened) {
    ::mkdir(Folder.Path("sub").c_str(), 0755);
    CFakeServices first, second, third;
    auto writer = OpenFrame(first, "story.txt");
    auto reader = OpenFrame(second, "sub/../story.txt");

    EXPECT_TRUE(first.Dialogs.Messages.empty());
    ASSERT_EQ(second.Dialogs.Messages.size(), 1U);
    EXPECT_EQ(second.Dialogs.Messages[0].Text,
              QStringLiteral("This text is open in another Skimmet window."));
    EXPECT_TRUE(reader->windowTitle().endsWith(QStringLiteral("[story.txt] (read-only)")));
    EXPECT_FALSE(reader->StateOf(CommandId::SaveFileSettings).Enabled);

    reader->Settings().AddBookmark();
    reader->close();
    EXPECT_EQ(Companion(), "");
    writer->close();
    EXPECT_NE(Companion().find("BookmarksNum=0"), std::string::npos);

    auto later = OpenFrame(third, "story.txt");
    EXPECT_TRUE(third.Dialogs.Messages.empty());
    EXPECT_TRUE(later->StateOf(CommandId::SaveFileSettings).Enabled);
}

TEST_F(Session, LoadSettings_FileThatCannotBeRead_KeepsEverySettingAndSaysWhy) {
    ASSERT_EQ(::mkfifo(Folder.Path("pipe.skm").c_str(), 0644), 0);
    ::mkdir(Folder.Path("folder.skm").c_str(), 0755);
    WriteBytes(Folder.Path("huge.skm"), std::string(2 * 1024 * 1024, ';'));
    WriteBytes(Folder.Path("empty.skm"), "");
    const std::pair<const char*, bool> rows[] = {{"absent.skm", false},
                                                 {"pipe.skm", false},
                                                 {"folder.skm", false},
                                                 {"huge.skm", false},
                                                 {"empty.skm", true}};
    for (const auto& [name, readable] : rows) {
        SCOPED_TRACE(name);
        CFakeServices fakes;
        auto frame = OpenFrame(fakes, "story.txt");
        const int32_t defaultGap = frame->Settings().freq;
        frame->Settings().freq = defaultGap + 1;
        fakes.Dialogs.FileAnswers.push_back(QString::fromStdString(Folder.Path(name)));
        frame->ExecuteCommand(CommandId::LoadSettings);

        EXPECT_EQ(frame->Settings().freq, readable ? defaultGap : defaultGap + 1);
        ASSERT_EQ(fakes.Dialogs.Messages.size(), readable ? 0U : 1U);
        if (!readable) {
            EXPECT_EQ(fakes.Dialogs.Messages[0].Text, QStringLiteral("Error Opening File"));
            EXPECT_FALSE(fakes.Dialogs.Messages[0].Informative.isEmpty());
        }
    }
}
} // namespace
