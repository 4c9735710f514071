#include <Brightfold/Ui/DesktopNotification.h>
#include <QDBusConnection>
#include <QDBusMessage>
#include <QVariantMap>
#include <cstdio>

namespace brightfold::ui {
namespace {

constexpr int notificationTimeoutMilliseconds = -1; // the desktop's own choice
constexpr int answerTimeoutMilliseconds = 5000;

} // namespace

bool showDesktopNotification(const QString& summary, const QString& body) {
    QDBusMessage call = QDBusMessage::createMethodCall(
        QStringLiteral("org.freedesktop.Notifications"),
        QStringLiteral("/org/freedesktop/Notifications"),
        QStringLiteral("org.freedesktop.Notifications"), QStringLiteral("Notify"));
    const QVariantMap hints{{QStringLiteral("desktop-entry"), QStringLiteral("brightfold")}};
    call << QStringLiteral("Brightfold") << 0u << QStringLiteral("brightfold") << summary << body
         << QStringList() << hints << notificationTimeoutMilliseconds;
    const QDBusMessage answer =
        QDBusConnection::sessionBus().call(call, QDBus::Block, answerTimeoutMilliseconds);
    if (answer.type() == QDBusMessage::ErrorMessage) {
        std::fprintf(stderr, "brightfold: no desktop notification: %s\n",
                     qPrintable(answer.errorMessage()));
        return false;
    }
    return true;
}

} // namespace brightfold::ui
