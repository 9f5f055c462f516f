// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/DBusScreenSaver.h"

#include <QCoreApplication>
#include <QDBusError>
#include <QDBusMessage>
#include <QDBusPendingCallWatcher>
#include <QDBusPendingReply>

#include <array>

namespace {

const QString Service = QStringLiteral("org.freedesktop.ScreenSaver");
const QString Interface = QStringLiteral("org.freedesktop.ScreenSaver");
// Desktops export the interface on one or both of these paths.
const std::array<QString, 2> Paths = {QStringLiteral("/org/freedesktop/ScreenSaver"),
                                      QStringLiteral("/ScreenSaver")};

QDBusMessage Call(const QString& path, const QString& method, const QVariantList& arguments) {
    QDBusMessage message = QDBusMessage::createMethodCall(Service, path, Interface, method);
    message.setArguments(arguments);
    // Never start a screen saver just to tell it not to run.
    message.setAutoStartService(false);
    return message;
}

// An error that means "try the other path" rather than "there is nobody to ask".
bool IsWrongPath(const QDBusError& error) {
    return error.type() == QDBusError::UnknownObject || error.type() == QDBusError::UnknownMethod ||
           error.type() == QDBusError::UnknownInterface;
}

// Sends without waiting for the answer: a service that no longer knows the cookie has
// dropped the inhibition already.
void SendUnInhibit(const QDBusConnection& connection, const QString& path, uint cookie) {
    connection.send(Call(path, QStringLiteral("UnInhibit"), {cookie}));
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
        [connection = *Connection, path = Paths[PendingPath]](QDBusPendingCallWatcher* call) {
            const QDBusPendingReply<uint> reply = *call;
            if (reply.isValid())
                SendUnInhibit(connection, path, reply.value());
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
    SendUnInhibit(*Connection, Path, Cookie);
}

void CDBusScreenSaver::Ask(std::size_t pathIndex) {
    const QVariantList arguments{QStringLiteral("Skimmet"), QStringLiteral("Reading")};
    PendingPath = pathIndex;
    Pending = new QDBusPendingCallWatcher(
        Connection->asyncCall(Call(Paths[pathIndex], QStringLiteral("Inhibit"), arguments),
                              TimeoutMs),
        Context.get());
    QObject::connect(Pending, &QDBusPendingCallWatcher::finished, Context.get(),
                     [this, pathIndex](QDBusPendingCallWatcher* watcher) {
                         OnInhibitReply(watcher, pathIndex);
                     });
}

void CDBusScreenSaver::OnInhibitReply(QDBusPendingCallWatcher* watcher, std::size_t pathIndex) {
    Pending = nullptr;
    watcher->deleteLater();
    const QDBusPendingReply<uint> reply = *watcher;
    if (reply.isError()) {
        if (IsWrongPath(reply.error()) && pathIndex + 1 < Paths.size() && Wanted)
            Ask(pathIndex + 1);
        return;
    }
    if (!reply.isValid())
        return;
    if (!Wanted) {
        // The reading ended while the service was answering.
        SendUnInhibit(*Connection, Paths[pathIndex], reply.value());
        return;
    }
    Cookie = reply.value();
    Path = Paths[pathIndex];
    Held = true;
}
