#pragma once

#include "AppTestSupport.h"

#include "app/TextDocument.h"
#include "platform/ProfileFile.h"

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <fcntl.h>
#include <unistd.h>

#include <tuple>

// The program on fake services, with a folder of its own for texts and settings and the
// user's configuration folder pointed into it.
class DocumentFixture : public AppFixture {
public:
    void SetUp() override {
        ASSERT_TRUE(Folder.isValid());
        SavedConfigHome = qEnvironmentVariableIsSet("XDG_CONFIG_HOME")
                              ? std::optional(qgetenv("XDG_CONFIG_HOME"))
                              : std::nullopt;
        qputenv("XDG_CONFIG_HOME", QFile::encodeName(ConfigHome()));
        AppFixture::SetUp();
    }
    void TearDown() override {
        EXPECT_EQ(QGuiApplication::overrideCursor(), nullptr); // every path gives it back
        App.reset();
        if (SavedConfigHome)
            qputenv("XDG_CONFIG_HOME", *SavedConfigHome);
        else
            qunsetenv("XDG_CONFIG_HOME");
    }

    QString ConfigHome() const { return Folder.filePath(QStringLiteral("config")); }
    QString DefaultsFile() const { return ConfigHome() + QStringLiteral("/skimmet/default.skm"); }
    QString PathOf(const QString& name) const { return Folder.filePath(name); }
    QString WriteText(const QString& name, const QByteArray& bytes) {
        QFile file(PathOf(name));
        EXPECT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        file.write(bytes);
        return file.fileName();
    }
    // A file that takes no room on the disk: every byte reads as 0.
    QString WriteSparse(const QString& name, int64_t size) {
        const QString path = PathOf(name);
        const int fd = ::open(QFile::encodeName(path).constData(), O_WRONLY | O_CREAT, 0644);
        EXPECT_EQ(::ftruncate(fd, size), 0);
        ::close(fd);
        return path;
    }
    void OpenFromMenu(const QString& path) {
        Fakes.Dialogs.FileAnswers.push_back(path);
        Frame->ExecuteCommand(CommandId::FileOpen);
    }
    void Advance(int phases) {
        for (int i = 0; i < phases; ++i) {
            Fakes.Clock.Advance(5000);
            View().OnTimer();
        }
    }
    int32_t Offset() { return static_cast<int32_t>(View().Cursor() - View().TextStart()); }
    int32_t Bookmark(int index) {
        int32_t offset = -1;
        Frame->Settings().GetBookmark(index, offset);
        return offset;
    }
    // What the reader can see of the loaded text.
    auto Seen() {
        const CReadingSettings& s = Frame->Settings();
        return std::tuple(View().TextStart(), View().TextStart() ? Offset() : -1,
                          Frame->windowTitle(), View().PlayFlags(), s.TextLength,
                          s.Book.BookmarksNum, s.freq);
    }
    static CProfileFile ReadProfile(const QString& path) {
        CProfileFile file;
        EXPECT_TRUE(file.Load(QFile::encodeName(path).toStdString()));
        return file;
    }
    // CurPos, BookmarksNum, Bookmark1 and freq of the text's companion.
    static std::vector<int> Companion(const QString& text) {
        const CProfileFile file = ReadProfile(text + QStringLiteral(".skm"));
        return {file.GetInt("POSITION", "CurPos", -1), file.GetInt("POSITION", "BookmarksNum", -1),
                file.GetInt("POSITION", "Bookmark1", -1), file.GetInt("MAIN", "freq", -1)};
    }
    std::vector<QString> MessageTexts() const {
        std::vector<QString> texts;
        for (const CFakeDialogs::Shown& shown : Fakes.Dialogs.Messages)
            texts.push_back(shown.Text);
        return texts;
    }

    QTemporaryDir Folder;

private:
    std::optional<QByteArray> SavedConfigHome;
};
