#include "support/gui/EventWait.h"

#include "platform/DBusScreenSaver.h"

#include <QDBusConnection>
#include <QElapsedTimer>
#include <QMutex>
#include <QMutexLocker>
#include <QSemaphore>
#include <QSet>
#include <QThread>

#include <atomic>

// On a private session bus (dbus-run-session); the fake screen saver is served from
// its own thread on its own connection, so that it can hang without stopping the test.

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

const QString Freedesktop = QStringLiteral("/org/freedesktop/ScreenSaver");

TEST(DBusScreenSaver, RepeatedInhibitAndRelease_OneInhibitionPerReadingOnEitherPath) {
    for (const QString path : {Freedesktop, QStringLiteral("/ScreenSaver")}) {
        SCOPED_TRACE(path.toStdString());
        CServedFake served(path);
        ASSERT_TRUE(served.Registered);
        CFakeScreenSaverService& fake = served.Fake;
        CDBusScreenSaver saver(QDBusConnection::sessionBus());
        for (int reading = 1; reading <= 2; ++reading) {
            saver.Inhibit();
            saver.Inhibit();
            ASSERT_TRUE(WaitUntil([&] { return saver.IsInhibited(); }));
            saver.Inhibit();
            EXPECT_EQ(fake.InhibitCalls, reading);
            EXPECT_EQ(fake.LastArguments().join('|').toStdString(), "Skimmet|Reading");
            saver.UnInhibit();
            saver.UnInhibit();
            EXPECT_FALSE(saver.IsInhibited());
            ASSERT_TRUE(WaitUntil([&] { return fake.UnInhibitCalls == reading; }));
            EXPECT_TRUE(fake.Active().isEmpty());
        }
        {
            CDBusScreenSaver destroyedHolding(QDBusConnection::sessionBus());
            destroyedHolding.Inhibit();
            ASSERT_TRUE(WaitUntil([&] { return destroyedHolding.IsInhibited(); }));
        }
        EXPECT_TRUE(WaitUntil([&] { return fake.Active().isEmpty(); }));
        EXPECT_EQ(fake.UnknownCookies, 0);
    }
}

TEST(DBusScreenSaver, HungService_InhibitReturnsAtOnceAndALateGrantIsUndone) {
    QSemaphore gate;
    CServedFake served(Freedesktop);
    ASSERT_TRUE(served.Registered);
    served.Fake.Gate = &gate;
    for (const bool destroyed : {false, true}) {
        SCOPED_TRACE(destroyed);
        auto saver = std::make_unique<CDBusScreenSaver>(QDBusConnection::sessionBus(), 60000);
        QElapsedTimer took;
        took.start();
        saver->Inhibit();
        saver->UnInhibit(); // the reading ends before the service answers
        if (destroyed)
            saver.reset();
        EXPECT_LT(took.elapsed(), 100);
        gate.release();
        EXPECT_TRUE(WaitUntil([&] { return served.Fake.UnInhibitCalls == 1 + destroyed; }));
        EXPECT_TRUE(served.Fake.Active().isEmpty());
    }
}

TEST(DBusScreenSaver, NoServiceOrNoBus_SilentUntilAServiceComes) {
    CDBusScreenSaver noBus(
        QDBusConnection::connectToBus(QStringLiteral("unix:path=/nonexistent/bus"), "none"));
    noBus.Inhibit();
    EXPECT_FALSE(noBus.IsInhibited());

    CDBusScreenSaver saver(QDBusConnection::sessionBus());
    saver.Inhibit();
    EXPECT_FALSE(saver.IsInhibited());
    CServedFake served(Freedesktop);
    ASSERT_TRUE(served.Registered);
    EXPECT_TRUE(WaitUntil([&] { return saver.Inhibit(), saver.IsInhibited(); }));
    EXPECT_EQ(served.Fake.Active().size(), 1);
}

} // namespace

#include "DBusScreenSaverTests.moc"
