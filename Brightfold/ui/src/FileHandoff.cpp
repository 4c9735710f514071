#include <Brightfold/Ui/FileHandoff.h>
#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusPendingCallWatcher>
#include <QDesktopServices>
#include <QFileInfo>
#include <QStringList>
#include <QUrl>

namespace brightfold::ui {
namespace {

void openContainingFolder(const QString& localPath) {
    QDesktopServices::openUrl(QUrl::fromLocalFile(QFileInfo(localPath).absolutePath()));
}

QDBusMessage showItemsCall(const QString& localPath) {
    QDBusMessage call = QDBusMessage::createMethodCall(
        QStringLiteral("org.freedesktop.FileManager1"),
        QStringLiteral("/org/freedesktop/FileManager1"),
        QStringLiteral("org.freedesktop.FileManager1"), QStringLiteral("ShowItems"));
    const QStringList uris{QUrl::fromLocalFile(localPath).toString(QUrl::FullyEncoded)};
    call << uris << QString();
    return call;
}

} // namespace

void openWithDefaultApplication(const QString& localPath) {
    QDesktopServices::openUrl(QUrl::fromLocalFile(localPath));
}

void revealInFileManager(const QString& localPath) {
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.isConnected()) {
        openContainingFolder(localPath);
        return;
    }
    // Asynchronous, so a file manager that is slow to start never freezes the window.
    auto* watcher = new QDBusPendingCallWatcher(bus.asyncCall(showItemsCall(localPath)));
    QObject::connect(watcher, &QDBusPendingCallWatcher::finished, watcher,
                     [localPath](QDBusPendingCallWatcher* finished) {
                         if (finished->isError()) {
                             openContainingFolder(localPath);
                         }
                         finished->deleteLater();
                     });
}

} // namespace brightfold::ui
