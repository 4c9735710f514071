#include <Brightfold/Ui/FileHandoff.h>
#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusPendingCallWatcher>
#include <QDesktopServices>
#include <QFileInfo>
#include <QGuiApplication>
#include <QProcess>
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

QString defaultApplicationFor(const QString& mimeType) {
    QProcess query;
    query.start(QStringLiteral("xdg-mime"),
                {QStringLiteral("query"), QStringLiteral("default"), mimeType});
    // A few seconds at most: the answer comes from local files.
    if (!query.waitForFinished(3000) || query.exitStatus() != QProcess::NormalExit ||
        query.exitCode() != 0) {
        query.kill();
        return {};
    }
    return QString::fromLocal8Bit(query.readAllStandardOutput()).trimmed();
}

bool openWithOtherApplication(const QString& localPath) {
    const QString handler = defaultApplicationFor(QStringLiteral("model/vnd.usdz+zip"));
    const QString ownEntry = QGuiApplication::desktopFileName() + QStringLiteral(".desktop");
    if (handler.isEmpty() || handler == ownEntry) {
        return false;
    }
    return QDesktopServices::openUrl(QUrl::fromLocalFile(localPath));
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
