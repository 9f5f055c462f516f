#include "platform/DBusScreenSaver.h"

#include <QDBusError>
#include <QDBusMessage>

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
bool IsWrongPath(const QDBusMessage& reply) {
    const QDBusError::ErrorType error = QDBusError(reply).type();
    return error == QDBusError::UnknownObject || error == QDBusError::UnknownMethod ||
           error == QDBusError::UnknownInterface;
}

} // namespace

CDBusScreenSaver::CDBusScreenSaver(QDBusConnection connection, int timeoutMs)
    : Connection(std::move(connection)), TimeoutMs(timeoutMs) {}

CDBusScreenSaver::~CDBusScreenSaver() {
    UnInhibit();
}

void CDBusScreenSaver::Inhibit() {
    if (Held || !Connection.isConnected())
        return;
    const QVariantList arguments{QStringLiteral("Skimmet"), QStringLiteral("Reading")};
    for (const QString& path : Paths) {
        const QDBusMessage reply = Connection.call(Call(path, QStringLiteral("Inhibit"), arguments),
                                                   QDBus::Block, TimeoutMs);
        if (reply.type() == QDBusMessage::ReplyMessage) {
            const QVariantList values = reply.arguments();
            if (values.size() != 1 || values.first().typeId() != QMetaType::UInt)
                return;
            Cookie = values.first().toUInt();
            Path = path;
            Held = true;
            return;
        }
        if (!IsWrongPath(reply))
            return;
    }
}

void CDBusScreenSaver::UnInhibit() {
    if (!Held)
        return;
    // The inhibition is gone from our side whatever the answer: a service that no
    // longer knows the cookie has dropped it already.
    Held = false;
    Connection.call(Call(Path, QStringLiteral("UnInhibit"), {Cookie}), QDBus::Block, TimeoutMs);
}
