// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "support/ScopedEnv.h"
#include "support/gui/FakeServices.h"

#include "app/MainFrame.h"
#include "app/SkimmetApp.h"
#include "app/TextDocument.h"
#include "engine/ReadingSession.h"
#include "platform/ProfileFile.h"
#include "platform/TerminationSignals.h"
#include "view/FlashView.h"

#include <QAction>
#include <QApplication>
#include <QFile>
#include <QMenu>
#include <QMenuBar>
#include <QTemporaryDir>
#include <QTimer>
#include <gtest/gtest.h>
#include <ostream>

#include <csignal>
#include <tuple>
#include <vector>

// Lock keys the test sets by hand; unknown until told.
struct CFakeLockKeys final : ILockKeys {
    std::array<std::optional<bool>, 3> States{};
    std::optional<bool> IsOn(LockKey key) const override { return States[static_cast<int>(key)]; }
};

// A message box as the reader sees it: its text, its icon, and whether it says why.
struct CShownMessage {
    std::string Text;
    MessageIcon Icon = MessageIcon::None;
    bool SaysWhy = false;
    bool operator==(const CShownMessage&) const = default;
};

inline void PrintTo(const CShownMessage& message, std::ostream* out) {
    *out << '"' << message.Text << "\" icon " << static_cast<int>(message.Icon)
         << (message.SaysWhy ? " with why" : "");
}

// The program as main starts it, on fake services, with a folder of its own for texts
// and the user's configuration folder pointed into it.
struct AppFixture : ::testing::Test {
    void SetUp() override {
        // Exit closes the only window; the test's own event loops must go on.
        QApplication::setQuitOnLastWindowClosed(false);
        App = std::make_unique<CSkimmetApp>(Fakes.Services);
        App->InitInstance(std::unique_ptr<ILockKeys>(Keys = new CFakeLockKeys));
        Frame = App->MainFrame();
    }
    void TearDown() override {
        EXPECT_EQ(QGuiApplication::overrideCursor(), nullptr); // every path gives it back
    }

    CFlashView& View() { return Frame->View(); }
    CReadingSession& Session() { return Frame->Session(); }
    CReadingSettings& Settings() { return Frame->Settings(); }
    int32_t Offset() { return static_cast<int32_t>(Session().Cursor() - Session().TextStart()); }
    int32_t Bookmark() {
        int32_t offset = -1;
        Settings().GetBookmark(0, offset);
        return offset;
    }
    // Moves the clock on phase by phase while the reading runs.
    void Advance(int phases) {
        for (int i = 0; i < phases && Session().IsReading(); ++i) {
            Fakes.Clock.Advance(5000);
            Session().OnTimer();
        }
    }
    QString PathOf(const QString& name) const { return Folder.filePath(name); }
    // The menu bar's menu at index, filled as when the reader first opens it.
    QMenu* OpenedMenu(int index) {
        QMenu* menu = Frame->menuBar()->actions().at(index)->menu();
        emit menu->aboutToShow();
        return menu;
    }
    QString WriteText(const QString& name, const QByteArray& bytes, int64_t size = -1) {
        QFile file(PathOf(name));
        EXPECT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        file.write(bytes); // grown without taking room on the disk, the rest reads as 0:
        file.resize(size < 0 ? bytes.size() : size);
        return file.fileName();
    }
    void OpenFromMenu(const QString& path) {
        Fakes.Dialogs.FileAnswers.push_back(path);
        Frame->ExecuteCommand(CommandId::FileOpen);
    }
    // What the reader can see of the loaded text.
    auto Seen() {
        return std::tuple(Session().TextStart(), Offset(), Frame->windowTitle(), View().PlayFlags(),
                          Settings().TextLength, Settings().Book.BookmarksNum, Settings().freq);
    }
    // Every message shown, in order.
    std::vector<CShownMessage> Messages() const {
        std::vector<CShownMessage> shown;
        for (const auto& [text, icon, informative] : Fakes.Dialogs.Messages)
            shown.push_back({text.toStdString(), icon, !informative.isEmpty()});
        return shown;
    }
    // CurPos, BookmarksNum, Bookmark1 and freq in a settings file.
    static std::vector<int> Stored(const QString& path) {
        CProfileFile file;
        file.Load(QFile::encodeName(path).toStdString());
        return {file.GetInt("POSITION", "CurPos", -1), file.GetInt("POSITION", "BookmarksNum", -1),
                file.GetInt("POSITION", "Bookmark1", -1), file.GetInt("MAIN", "freq", -1)};
    }

    QTemporaryDir Folder;
    CScopedEnv ConfigHome{"XDG_CONFIG_HOME", qPrintable(PathOf(QStringLiteral("config")))};
    CScopedEnv Runtime{"XDG_RUNTIME_DIR", qPrintable(Folder.path())}; // for the texts' locks
    CScopedEnv StateHome{"XDG_STATE_HOME", qPrintable(PathOf(QStringLiteral("state")))};
    CScopedEnv DataHome{"XDG_DATA_HOME", qPrintable(PathOf(QStringLiteral("data")))};
    CFakeServices Fakes;
    CFakeLockKeys* Keys = nullptr;
    std::unique_ptr<CSkimmetApp> App;
    CMainFrame* Frame = nullptr;
};

// A fixture made by hand inside a table's loop: one fresh program per case.
struct FreshApp final : AppFixture {
    FreshApp() { SetUp(); }
    ~FreshApp() override { TearDown(); }
    void TestBody() override {}
};

// Raises signal inside the program's event loop, as a terminal or the session would.
// The timers go with the call, so that a later event loop never meets them.
inline void RaiseAndRun(FreshApp& app, int signal) {
    const CTerminationSignals termination([&app] { app.App->EndSession(); });
    const QObject scope;
    QTimer::singleShot(0, &scope, [signal] { std::raise(signal); });
    QTimer::singleShot(5000, &scope, [] { QCoreApplication::exit(1); });
    EXPECT_EQ(QApplication::exec(), 0);
}
