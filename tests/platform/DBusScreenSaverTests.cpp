#include "support/gui/EventWait.h"

#include "platform/DBusScreenSaver.h"

#include <QDBusConnection>
#include <QElapsedTimer>
#include <QMutex>
#include <QSemaphore>
#include <QSet>
#include <QThread>

#include <atomic>

// On a private session bus (dbus-run-session); the fake is served from its own thread on its
// own connection, so that it can hang without stopping the test.
class CFakeScreenSaverService : public QObject {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.freedesktop.ScreenSaver")

public:
    std::atomic<int> InhibitCalls = 0;
    std::atomic<int> UnInhibitCalls = 0;
    std::atomic<QSemaphore*> Gate = nullptr; // when set, Inhibit hangs until released

    int Active() const {
        const QMutexLocker lock(&Mutex);
        return int(Cookies.size());
    }

public slots:
    uint Inhibit(const QString&, const QString&) {
        if (QSemaphore* gate = Gate)
            gate->acquire();
        ++InhibitCalls;
        const QMutexLocker lock(&Mutex);
        Cookies.insert(++NextCookie);
        return NextCookie;
    }
    void UnInhibit(uint cookie) {
        ++UnInhibitCalls;
        const QMutexLocker lock(&Mutex);
        Cookies.remove(cookie);
    }

private:
    mutable QMutex Mutex;
    QSet<uint> Cookies;
    uint NextCookie = 41;
};

namespace {

struct SServedFake {
    SServedFake() {
        Fake.moveToThread(&Thread);
        Thread.start();
        Registered = Bus.registerObject("/org/freedesktop/ScreenSaver", &Fake,
                                        QDBusConnection::ExportAllSlots) &&
                     Bus.registerService("org.freedesktop.ScreenSaver");
    }
    ~SServedFake() {
        Bus.unregisterService("org.freedesktop.ScreenSaver");
        Bus.unregisterObject("/org/freedesktop/ScreenSaver");
        if (QSemaphore* gate = Fake.Gate)
            gate->release(100);
        Thread.quit();
        Thread.wait();
        QDBusConnection::disconnectFromBus("fake");
    }
    CFakeScreenSaverService Fake;
    QThread Thread;
    QDBusConnection Bus = QDBusConnection::connectToBus(QDBusConnection::SessionBus, "fake");
    bool Registered = false;
};

TEST(DBusScreenSaver, RepeatedInhibit_OneInhibitionPerReadingReleasedOnStopAndDestroy) {
    SServedFake served;
    ASSERT_TRUE(served.Registered);
    auto saver = std::make_unique<CDBusScreenSaver>(QDBusConnection::sessionBus());
    for (int reading = 1; reading <= 2; ++reading) {
        saver->Inhibit();
        saver->Inhibit();
        ASSERT_TRUE(WaitUntil([&] { return saver->IsInhibited(); }));
        saver->Inhibit();
        EXPECT_EQ(served.Fake.InhibitCalls, reading);
        saver->UnInhibit();
        EXPECT_FALSE(saver->IsInhibited());
        EXPECT_TRUE(WaitUntil([&] { return served.Fake.Active() == 0; }));
    }
    saver->Inhibit();
    ASSERT_TRUE(WaitUntil([&] { return saver->IsInhibited(); }));
    saver.reset();
    EXPECT_TRUE(WaitUntil([&] { return served.Fake.Active() == 0; }));
}

TEST(DBusScreenSaver, HungService_InhibitReturnsAtOnceAndALateGrantIsUndone) {
    QSemaphore gate;
    SServedFake served;
    ASSERT_TRUE(served.Registered);
    served.Fake.Gate = &gate;
    CDBusScreenSaver saver(QDBusConnection::sessionBus(), 60000);
    QElapsedTimer took;
    took.start();
    saver.Inhibit();
    saver.UnInhibit(); // the reading ends before the service answers
    EXPECT_LT(took.elapsed(), 100);
    gate.release();
    EXPECT_TRUE(WaitUntil([&] { return served.Fake.UnInhibitCalls == 1; }));
    EXPECT_EQ(served.Fake.Active(), 0);
}

TEST(DBusScreenSaver, NoServiceOrNoBus_SilentUntilAServiceComes) {
    CDBusScreenSaver noBus(QDBusConnection::connectToBus("unix:path=/nonexistent/bus", "none"));
    noBus.Inhibit();
    EXPECT_FALSE(noBus.IsInhibited());
    CDBusScreenSaver saver(QDBusConnection::sessionBus());
    saver.Inhibit();
    EXPECT_FALSE(saver.IsInhibited());
    SServedFake served;
    ASSERT_TRUE(served.Registered);
    EXPECT_TRUE(WaitUntil([&] { return saver.Inhibit(), saver.IsInhibited(); }));
    EXPECT_EQ(served.Fake.Active(), 1);
}

} // namespace

#include "DBusScreenSaverTests.moc"
