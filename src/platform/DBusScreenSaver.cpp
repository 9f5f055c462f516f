// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/DBusScreenSaver.h"

#include <QCoreApplication>
#include <QDBusError>
#include <QDBusMessage>
#include <QDBusObjectPath>
#include <QDBusPendingCallWatcher>
#include <QDBusPendingReply>

#include <array>

namespace {

struct SWay {
    QString Service;
    QString Path;
    QString Interface;
    bool Portal;
};

// The portal first: it is what a sandbox lets through and what GNOME answers. Desktops
// export the screen saver's interface on one or both of its paths.
const std::array<SWay, 3> Ways = {
    SWay{QStringLiteral("org.freedesktop.portal.Desktop"),
         QStringLiteral("/org/freedesktop/portal/desktop"),
         QStringLiteral("org.freedesktop.portal.Inhibit"), true},
    SWay{QStringLiteral("org.freedesktop.ScreenSaver"),
         QStringLiteral("/org/freedesktop/ScreenSaver"),
         QStringLiteral("org.freedesktop.ScreenSaver"), false},
    SWay{QStringLiteral("org.freedesktop.ScreenSaver"), QStringLiteral("/ScreenSaver"),
         QStringLiteral("org.freedesktop.ScreenSaver"), false},
};

// The portal's flag for "the session may not go idle", which is what blanks the screen.
constexpr uint PortalIdle = 8;

const QString Reason = QStringLiteral("Reading");

QDBusMessage Call(const QString& service, const QString& path, const QString& interface,
                  const QString& method, const QVariantList& arguments) {
    QDBusMessage message = QDBusMessage::createMethodCall(service, path, interface, method);
    message.setArguments(arguments);
    // Never start a screen saver just to tell it not to run.
    message.setAutoStartService(false);
    return message;
}

QDBusMessage InhibitCall(const SWay& way) {
    if (way.Portal) {
        // No window to name: the inhibition is the application's.
        const QVariantMap options{{QStringLiteral("reason"), Reason}};
        return Call(way.Service, way.Path, way.Interface, QStringLiteral("Inhibit"),
                    {QString(), PortalIdle, options});
    }
    return Call(way.Service, way.Path, way.Interface, QStringLiteral("Inhibit"),
                {QStringLiteral("Skimmet"), Reason});
}

// The cookie, or the portal's request that holds the inhibition until it is closed.
QVariant TokenOf(const QDBusMessage& reply, const SWay& way) {
    const QList<QVariant> arguments = reply.arguments();
    if (arguments.size() != 1)
        return {};
    const QVariant& value = arguments.front();
    if (way.Portal) {
        const QDBusObjectPath handle = value.value<QDBusObjectPath>();
        return handle.path().isEmpty() ? QVariant() : QVariant::fromValue(handle);
    }
    return value.metaType() == QMetaType::fromType<uint>() ? value : QVariant();
}

// An error that means "try the next way" rather than "there is nobody to ask". Whatever
// keeps the portal from granting it leaves the screen saver's own service to ask.
bool TriesNext(const QDBusError& error, const SWay& way) {
    if (way.Portal)
        return true;
    return error.type() == QDBusError::UnknownObject || error.type() == QDBusError::UnknownMethod ||
           error.type() == QDBusError::UnknownInterface;
}

// Sends without waiting for the answer: a service that no longer knows the cookie (or
// the request) has dropped the inhibition already.
void SendRelease(const QDBusConnection& connection, const SWay& way, const QVariant& token) {
    if (way.Portal) {
        connection.send(Call(way.Service, token.value<QDBusObjectPath>().path(),
                             QStringLiteral("org.freedesktop.portal.Request"),
                             QStringLiteral("Close"), {}));
        return;
    }
    connection.send(
        Call(way.Service, way.Path, way.Interface, QStringLiteral("UnInhibit"), {token}));
}

} // namespace

CDBusScreenSaver::CDBusScreenSaver(QDBusConnection connection, int timeoutMs)
    : CDBusScreenSaver([connection] { return connection; }, timeoutMs) {}

CDBusScreenSaver::CDBusScreenSaver(std::function<QDBusConnection()> connect, int timeoutMs)
    : Connect(std::move(connect)), TimeoutMs(timeoutMs), Context(std::make_unique<QObject>()) {}

const QDBusConnection& CDBusScreenSaver::Bus() {
    if (!Connection)
        Connection = Connect();
    return *Connection;
}

CDBusScreenSaver::~CDBusScreenSaver() {
    UnInhibit();
    if (!Pending || !QCoreApplication::instance())
        return;
    // An answer still on its way outlives the adapter: whatever it grants is given back.
    QObject::disconnect(Pending, nullptr, Context.get(), nullptr);
    Pending->setParent(QCoreApplication::instance());
    QObject::connect(
        Pending, &QDBusPendingCallWatcher::finished, Pending,
        [connection = *Connection, way = Ways[PendingWay]](QDBusPendingCallWatcher* call) {
            const QVariant token = TokenOf(call->reply(), way);
            if (token.isValid())
                SendRelease(connection, way, token);
            call->deleteLater();
        });
}

void CDBusScreenSaver::Inhibit() {
    Wanted = true;
    if (Held || Pending || !Bus().isConnected())
        return;
    Ask(0);
}

void CDBusScreenSaver::UnInhibit() {
    Wanted = false;
    if (!Held)
        return;
    Held = false;
    SendRelease(*Connection, Ways[HeldWay], Token);
}

void CDBusScreenSaver::Ask(std::size_t way) {
    PendingWay = way;
    Pending = new QDBusPendingCallWatcher(Connection->asyncCall(InhibitCall(Ways[way]), TimeoutMs),
                                          Context.get());
    QObject::connect(
        Pending, &QDBusPendingCallWatcher::finished, Context.get(),
        [this, way](QDBusPendingCallWatcher* watcher) { OnInhibitReply(watcher, way); });
}

void CDBusScreenSaver::OnInhibitReply(QDBusPendingCallWatcher* watcher, std::size_t way) {
    Pending = nullptr;
    watcher->deleteLater();
    if (watcher->isError()) {
        if (TriesNext(watcher->error(), Ways[way]) && way + 1 < Ways.size() && Wanted)
            Ask(way + 1);
        return;
    }
    const QVariant token = TokenOf(watcher->reply(), Ways[way]);
    if (!token.isValid())
        return;
    if (!Wanted) {
        // The reading ended while the service was answering.
        SendRelease(*Connection, Ways[way], token);
        return;
    }
    Token = token;
    HeldWay = way;
    Held = true;
}
