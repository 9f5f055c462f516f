#include "platform/DBusScreenSaver.h"

#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QMutex>
#include <QMutexLocker>
#include <QSemaphore>
#include <QSet>
#include <QThread>

#include <gtest/gtest.h>

#include <atomic>

// These tests run on a private session bus (dbus-run-session); the screen saver the
// adapter talks to is the fake below, served from its own thread on its own
// connection so that the adapter's blocking calls go through the bus daemon.

namespace {

const QString ServiceName = QStringLiteral("org.freedesktop.ScreenSaver");

} // namespace

class CFakeScreenSaverService : public QObject {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.freedesktop.ScreenSaver")

public:
    std::atomic<int> InhibitCalls = 0;
    std::atomic<int> UnInhibitCalls = 0;
    std::atomic<int> UnknownCookies = 0;
    std::atomic<QSemaphore*> Gate = nullptr; // when set, Inhibit waits: a service that hangs

    QSet<uint> Active() const {
        const QMutexLocker lock(&Mutex);
        return Cookies;
    }
    QStringList LastArguments() const {
        const QMutexLocker lock(&Mutex);
        return Arguments;
    }

public slots:
    uint Inhibit(const QString& application, const QString& reason) {
        if (QSemaphore* gate = Gate)
            gate->acquire();
        ++InhibitCalls;
        const QMutexLocker lock(&Mutex);
        Arguments = {application, reason};
        Cookies.insert(++NextCookie);
        return NextCookie;
    }
    void UnInhibit(uint cookie) {
        ++UnInhibitCalls;
        const QMutexLocker lock(&Mutex);
        if (!Cookies.remove(cookie))
            ++UnknownCookies;
    }

private:
    mutable QMutex Mutex;
    QSet<uint> Cookies;
    QStringList Arguments;
    uint NextCookie = 41;
};

namespace {

class CServedFake {
public:
    explicit CServedFake(const QString& path)
        : Connection(QDBusConnection::connectToBus(QDBusConnection::SessionBus,
                                                   QStringLiteral("fake-screensaver"))),
          Path(path) {
        Fake.moveToThread(&Thread);
        Thread.start();
        Registered = Connection.isConnected() &&
                     Connection.registerObject(Path, &Fake, QDBusConnection::ExportAllSlots) &&
                     Connection.registerService(ServiceName);
    }
    ~CServedFake() {
        Connection.unregisterService(ServiceName);
        Connection.unregisterObject(Path);
        if (QSemaphore* gate = Fake.Gate)
            gate->release(100);
        Thread.quit();
        Thread.wait();
        QDBusConnection::disconnectFromBus(QStringLiteral("fake-screensaver"));
    }
    CServedFake(const CServedFake&) = delete;
    CServedFake& operator=(const CServedFake&) = delete;

    CFakeScreenSaverService Fake;
    bool Registered = false;

private:
    QThread Thread;
    QDBusConnection Connection;
    QString Path;
};

class DBusScreenSaverTest : public ::testing::TestWithParam<const char*> {
protected:
    void SetUp() override {
        ASSERT_TRUE(QDBusConnection::sessionBus().isConnected())
            << "run these tests under dbus-run-session";
        Served = std::make_unique<CServedFake>(QString::fromLatin1(GetParam()));
        ASSERT_TRUE(Served->Registered);
    }
    CFakeScreenSaverService& Fake() { return Served->Fake; }

    std::unique_ptr<CServedFake> Served;
};

TEST_P(DBusScreenSaverTest, InhibitUnInhibit_Repeated_OneInhibitionHeldThenReleasedOnce) {
    CDBusScreenSaver saver(QDBusConnection::sessionBus());
    saver.Inhibit();
    saver.Inhibit();
    saver.Inhibit();
    EXPECT_TRUE(saver.IsInhibited());
    EXPECT_EQ(Fake().InhibitCalls, 1);
    EXPECT_EQ(Fake().Active().size(), 1);
    EXPECT_EQ(Fake().LastArguments().join('|').toStdString(), "Skimmet|Reading");

    saver.UnInhibit();
    saver.UnInhibit();
    EXPECT_FALSE(saver.IsInhibited());
    EXPECT_EQ(Fake().UnInhibitCalls, 1);
    EXPECT_EQ(Fake().UnknownCookies, 0);
    EXPECT_TRUE(Fake().Active().isEmpty());

    saver.Inhibit(); // a new inhibition after the release
    EXPECT_TRUE(saver.IsInhibited());
    EXPECT_EQ(Fake().InhibitCalls, 2);
    EXPECT_EQ(Fake().Active().size(), 1);
}

TEST_P(DBusScreenSaverTest, Destroyed_ReleasesOnlyWhatItHolds) {
    {
        CDBusScreenSaver idle(QDBusConnection::sessionBus());
        idle.UnInhibit();
    }
    EXPECT_EQ(Fake().UnInhibitCalls, 0);
    {
        CDBusScreenSaver saver(QDBusConnection::sessionBus());
        saver.Inhibit();
        ASSERT_EQ(Fake().Active().size(), 1);
    }
    EXPECT_EQ(Fake().UnInhibitCalls, 1);
    EXPECT_EQ(Fake().UnknownCookies, 0);
    EXPECT_TRUE(Fake().Active().isEmpty());
}

INSTANTIATE_TEST_SUITE_P(ObjectPaths, DBusScreenSaverTest,
                         ::testing::Values("/org/freedesktop/ScreenSaver", "/ScreenSaver"),
                         [](const auto& info) {
                             return info.index == 0 ? "Freedesktop" : "Short";
                         });

TEST(DBusScreenSaver, Inhibit_NoSuchService_NothingHeldNothingSent) {
    ASSERT_TRUE(QDBusConnection::sessionBus().isConnected());
    ASSERT_FALSE(QDBusConnection::sessionBus().interface()->isServiceRegistered(ServiceName));
    CDBusScreenSaver saver(QDBusConnection::sessionBus());
    saver.Inhibit();
    EXPECT_FALSE(saver.IsInhibited());
    saver.UnInhibit();
    EXPECT_FALSE(saver.IsInhibited());
}

TEST(DBusScreenSaver, Inhibit_ServiceArrivesLater_Works) {
    CDBusScreenSaver saver(QDBusConnection::sessionBus());
    saver.Inhibit();
    ASSERT_FALSE(saver.IsInhibited());

    CServedFake served(QStringLiteral("/org/freedesktop/ScreenSaver"));
    ASSERT_TRUE(served.Registered);
    saver.Inhibit();

    EXPECT_TRUE(saver.IsInhibited());
    EXPECT_EQ(served.Fake.Active().size(), 1);
}

TEST(DBusScreenSaver, Inhibit_ServiceNeverAnswers_GivesUpWithoutHolding) {
    QSemaphore gate;
    CServedFake served(QStringLiteral("/org/freedesktop/ScreenSaver"));
    ASSERT_TRUE(served.Registered);
    served.Fake.Gate = &gate;
    CDBusScreenSaver saver(QDBusConnection::sessionBus(), 100);

    saver.Inhibit();

    EXPECT_FALSE(saver.IsInhibited());
    gate.release();
}

TEST(DBusScreenSaver, Inhibit_NoBus_NothingHeld) {
    const QString name = QStringLiteral("no-bus");
    {
        CDBusScreenSaver saver(QDBusConnection::connectToBus(
            QStringLiteral("unix:path=/nonexistent/skimmet-bus"), name));
        saver.Inhibit();
        EXPECT_FALSE(saver.IsInhibited());
    }
    QDBusConnection::disconnectFromBus(name);
}

} // namespace

#include "DBusScreenSaverTests.moc"
