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

#include <cstdint>
#include <string>

// The program on fake services, with a folder of its own for texts and settings and
// the user's configuration folder pointed into it.
class DocumentFixture : public AppFixture {
public:
    void SetUp() override {
        ASSERT_TRUE(Folder.isValid());
        SavedConfigHome = qgetenv("XDG_CONFIG_HOME");
        HadConfigHome = qEnvironmentVariableIsSet("XDG_CONFIG_HOME");
        qputenv("XDG_CONFIG_HOME", QFile::encodeName(ConfigHome()));
        AppFixture::SetUp();
    }

    void TearDown() override {
        // Every path of every command gives the cursor back.
        EXPECT_EQ(QGuiApplication::overrideCursor(), nullptr);
        App.reset();
        if (HadConfigHome)
            qputenv("XDG_CONFIG_HOME", SavedConfigHome);
        else
            qunsetenv("XDG_CONFIG_HOME");
    }

    QString ConfigHome() const { return Folder.filePath(QStringLiteral("config")); }
    QString DefaultsFile() const { return ConfigHome() + QStringLiteral("/skimmet/default.skm"); }
    QString PathOf(const QString& name) const { return Folder.filePath(name); }

    QString WriteText(const QString& name, const QByteArray& bytes) {
        const QString path = PathOf(name);
        QFile file(path);
        EXPECT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        file.write(bytes);
        return path;
    }

    // A file of size bytes that takes no room on the disk: every byte reads as 0.
    QString WriteSparse(const QString& name, int64_t size) {
        const QString path = PathOf(name);
        const int fd =
            ::open(QFile::encodeName(path).constData(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        EXPECT_GE(fd, 0);
        EXPECT_EQ(::ftruncate(fd, size), 0);
        ::close(fd);
        return path;
    }

    // File > "Open..." answered with path.
    void OpenFromMenu(const QString& path) {
        Fakes.Dialogs.FileAnswers.push_back(path);
        Frame->ExecuteCommand(CommandId::FileOpen);
    }

    int32_t Offset() { return static_cast<int32_t>(View().Cursor() - View().TextStart()); }

    static CProfileFile ReadProfile(const QString& path) {
        CProfileFile file;
        EXPECT_TRUE(file.Load(QFile::encodeName(path).toStdString()));
        return file;
    }

    std::vector<QString> MessageTexts() const {
        std::vector<QString> texts;
        for (const CFakeDialogs::Shown& shown : Fakes.Dialogs.Messages)
            texts.push_back(shown.Text);
        return texts;
    }

    QTemporaryDir Folder;

private:
    QByteArray SavedConfigHome;
    bool HadConfigHome = false;
};
