// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/DBusScreenSaver.h"

#include <QDBusConnection>
#include <QDBusContext>
#include <QDBusMessage>
#include <QDBusObjectPath>
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

// The portal's requests: each stands for an inhibition until it is closed.
class CFakePortalRequests : public QObject, protected QDBusContext {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.freedesktop.portal.Request")

public:
    QSet<QString> Open;

public slots:
    void Close() { Open.remove(message().path()); }
};

// The desktop portal's Inhibit on the same private bus; when Refuses, every Inhibit is
// answered with an error.
class CFakePortal : public QObject, protected QDBusContext {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.freedesktop.portal.Inhibit")

public:
    CFakePortal() {
        Registered = Bus.registerObject("/org/freedesktop/portal/desktop", this,
                                        QDBusConnection::ExportAllSlots) &&
                     Bus.registerService("org.freedesktop.portal.Desktop");
    }
    ~CFakePortal() override {
        Bus.unregisterService("org.freedesktop.portal.Desktop");
        QDBusConnection::disconnectFromBus("portal");
    }

    QDBusConnection Bus = QDBusConnection::connectToBus(QDBusConnection::SessionBus, "portal");
    bool Registered = false;
    bool Refuses = false;
    uint Flags = 0; // asked for, last
    CFakePortalRequests Requests;

public slots:
    QDBusObjectPath Inhibit(const QString&, uint flags, const QVariantMap&) {
        Flags = flags;
        if (Refuses) {
            sendErrorReply(QDBusError::AccessDenied, "not here");
            return {};
        }
        const QString path = QStringLiteral("/org/freedesktop/portal/desktop/request/%1")
                                 .arg(Requests.Open.size() + 1);
        Bus.registerObject(path, &Requests, QDBusConnection::ExportAllSlots);
        Requests.Open.insert(path);
        return QDBusObjectPath(path);
    }
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
    fake.Hangs = true;
    saver.Inhibit();
    ASSERT_TRUE(QTest::qWaitFor([&] { return fake.InhibitCalls == 2; }));
    saver.UnInhibit(); // the reading ends before the service answers
    fake.AnswerHung();
    EXPECT_TRUE(QTest::qWaitFor([&] { return fake.Cookies.isEmpty(); }));
}

// The portal first, its request closed at the end; a portal that refuses leaves the
// screen saver's own service to ask.
TEST(DBusScreenSaver, Portal_AskedFirstAndWhenItRefusesTheScreenSaver) {
    for (const bool refuses : {false, true}) {
        SCOPED_TRACE(refuses ? "the portal refuses" : "the portal grants");
        CFakePortal portal;
        ASSERT_TRUE(portal.Registered);
        portal.Refuses = refuses;
        CFakeScreenSaverService saverService;
        ASSERT_TRUE(saverService.Registered);
        CDBusScreenSaver saver(QDBusConnection::sessionBus());
        saver.Inhibit();
        ASSERT_TRUE(QTest::qWaitFor([&] { return saver.IsInhibited(); }));
        EXPECT_EQ(portal.Flags, 8u) << "idle";
        EXPECT_EQ(portal.Requests.Open.size(), refuses ? 0 : 1);
        EXPECT_EQ(saverService.InhibitCalls, refuses ? 1 : 0);
        saver.UnInhibit();
        EXPECT_TRUE(QTest::qWaitFor([&] { return portal.Requests.Open.isEmpty(); }));
        EXPECT_TRUE(QTest::qWaitFor([&] { return saverService.Cookies.isEmpty(); }));
    }
}
} // namespace

#include "DBusScreenSaverTests.moc"
