// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/DBusScreenSaver.h"

#include <QDBusConnection>
#include <QDBusContext>
#include <QDBusMessage>
#include <QSet>
#include <QTest>
#include <gtest/gtest.h>

// The desktop's service on a private session bus (dbus-run-session), on a connection of its
// own. When it hangs, Inhibit is answered only when the test says so.
class CFakeScreenSaverService : public QObject, protected QDBusContext {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.freedesktop.ScreenSaver")

public:
    explicit CFakeScreenSaverService(const QString& path = "/org/freedesktop/ScreenSaver") {
        Registered = Bus.registerObject(path, this, QDBusConnection::ExportAllSlots) &&
                     Bus.registerService("org.freedesktop.ScreenSaver");
    }
    ~CFakeScreenSaverService() override {
        Bus.unregisterService("org.freedesktop.ScreenSaver");
        QDBusConnection::disconnectFromBus("fake");
    }
    void AnswerHung() { Bus.send(Hung.createReply(QVariantList{uint(41 + InhibitCalls)})); }

    QDBusConnection Bus = QDBusConnection::connectToBus(QDBusConnection::SessionBus, "fake");
    bool Registered = false, Hangs = false;
    int InhibitCalls = 0;
    QSet<uint> Cookies; // not given back
    QString Asked;      // who asked why, last
    QDBusMessage Hung;

public slots:
    uint Inhibit(const QString& application, const QString& reason) {
        ++InhibitCalls, Asked = application + '|' + reason;
        if (Hangs)
            setDelayedReply(true), Hung = message();
        return *Cookies.insert(41 + InhibitCalls);
    }
    void UnInhibit(uint cookie) { Cookies.remove(cookie); }
};

namespace {
// The bus is connected to at the first reading, not when the program starts.
TEST(DBusScreenSaver, RepeatedInhibit_OneInhibitionPerReadingOnEitherPathGivenBackOnDestroy) {
    for (const char* path : {"/org/freedesktop/ScreenSaver", "/ScreenSaver"}) {
        SCOPED_TRACE(path);
        CFakeScreenSaverService fake(path);
        ASSERT_TRUE(fake.Registered);
        int connects = 0;
        auto saver = std::make_unique<CDBusScreenSaver>([&connects] {
            ++connects;
            return QDBusConnection::sessionBus();
        });
        saver->UnInhibit();
        EXPECT_EQ(connects, 0);
        for (int reading = 1; reading <= 3; ++reading) {
            saver->Inhibit(), saver->Inhibit();
            ASSERT_TRUE(QTest::qWaitFor([&] { return saver->IsInhibited(); }));
            saver->Inhibit();
            EXPECT_EQ(fake.InhibitCalls, reading);
            EXPECT_EQ(fake.Asked.toStdString(), "Skimmet|Reading");
            reading == 3 ? saver.reset() : saver->UnInhibit(); // the last as the program ends
            EXPECT_TRUE(QTest::qWaitFor([&] { return fake.Cookies.isEmpty(); }));
        }
        EXPECT_EQ(connects, 1);
    }
}

TEST(DBusScreenSaver, NoServiceOrAHungOne_SilentUntilAServiceComesALateGrantGivenBack) {
    CDBusScreenSaver saver(QDBusConnection::sessionBus(), 60000);
    saver.Inhibit();
    EXPECT_FALSE(saver.IsInhibited());
    CFakeScreenSaverService fake;
    ASSERT_TRUE(fake.Registered);
    EXPECT_TRUE(QTest::qWaitFor([&] { return saver.Inhibit(), saver.IsInhibited(); }));
    saver.UnInhibit();
    fake.Hangs = true, saver.Inhibit();
    saver.UnInhibit(); // the reading ends before the service answers
    ASSERT_TRUE(QTest::qWaitFor([&] { return fake.InhibitCalls == 2; }));
    fake.AnswerHung();
    EXPECT_TRUE(QTest::qWaitFor([&] { return fake.Cookies.isEmpty(); }));
}
} // namespace

#include "DBusScreenSaverTests.moc"
