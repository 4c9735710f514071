#include <Brightfold/Ui/FileChooser.h>
#include <QDir>
#include <QFileInfo>
#include <algorithm>

namespace brightfold::ui {
namespace {

const QStringList modelExtensions{QStringLiteral("gltf"), QStringLiteral("glb"),
                                  QStringLiteral("vrm"),  QStringLiteral("usdc"),
                                  QStringLiteral("usd"),  QStringLiteral("usdz")};

// The platform themes installed with the program that bring a desktop chooser.
bool isChooserTheme(const QString& theme) {
    static const QStringList themes{QStringLiteral("gtk3"), QStringLiteral("xdgdesktopportal"),
                                    QStringLiteral("flatpak"), QStringLiteral("snap")};
    return themes.contains(theme.section(QLatin1Char(':'), 0, 0).toLower());
}

// The desktops for which Qt loads the GTK theme by itself.
bool isGtkDesktop(const QString& desktops) {
    static const QStringList gtkDesktops{QStringLiteral("gnome"),      QStringLiteral("unity"),
                                         QStringLiteral("x-cinnamon"), QStringLiteral("xfce"),
                                         QStringLiteral("mate"),       QStringLiteral("lxde"),
                                         QStringLiteral("budgie"),     QStringLiteral("pantheon")};
    const QStringList running = desktops.toLower().split(QLatin1Char(':'), Qt::SkipEmptyParts);
    return std::any_of(running.begin(), running.end(),
                       [](const QString& desktop) { return gtkDesktops.contains(desktop); });
}

QString bothCases(const QString& extension) {
    QString pattern = QStringLiteral("*.");
    for (const QChar letter : extension) {
        pattern += QLatin1Char('[') + letter.toLower() + letter.toUpper() + QLatin1Char(']');
    }
    return pattern;
}

QVariantMap resolution(const char* kind, const QVariant& value) {
    return {{QString::fromLatin1(kind), value}};
}

} // namespace

bool FileChooser::desktopChooserAvailable() {
    const QString requested = qEnvironmentVariable("QT_QPA_PLATFORMTHEME");
    if (!requested.isEmpty()) {
        return isChooserTheme(requested);
    }
    if (qEnvironmentVariableIsSet("FLATPAK_ID") || qEnvironmentVariableIsSet("SNAP")) {
        return true;
    }
    return isGtkDesktop(qEnvironmentVariable("XDG_CURRENT_DESKTOP"));
}

QStringList FileChooser::modelPatterns() {
    QStringList patterns;
    for (const QString& extension : modelExtensions) {
        patterns << QStringLiteral("*.") + extension;
    }
    return patterns;
}

QStringList FileChooser::desktopNameFilters() {
    QStringList patterns;
    for (const QString& extension : modelExtensions) {
        patterns << bothCases(extension);
    }
    return {QStringLiteral("3D models (%1)").arg(patterns.join(QLatin1Char(' '))),
            QStringLiteral("All files (*)")};
}

QUrl FileChooser::startFolder() const {
    return lastFolder_.isEmpty() ? QUrl::fromLocalFile(QDir::homePath()) : lastFolder_;
}

void FileChooser::rememberChoice(const QUrl& file) {
    if (!file.isLocalFile()) {
        return;
    }
    lastFolder_ = QUrl::fromLocalFile(QFileInfo(file.toLocalFile()).absolutePath());
    emit startFolderChanged();
}

QVariantMap FileChooser::resolveTypedPath(const QUrl& shownFolder, const QString& typed,
                                          bool forSaving) {
    QString path = typed.trimmed();
    if (path.startsWith(QStringLiteral("file:"), Qt::CaseInsensitive)) {
        path = QUrl(path).toLocalFile();
    } else if (path == QStringLiteral("~") || path.startsWith(QStringLiteral("~/"))) {
        path = QDir::homePath() + path.mid(1);
    }
    if (path.isEmpty()) {
        return resolution("error", QStringLiteral("Type the path of a file or folder."));
    }
    const QFileInfo target(QDir(shownFolder.toLocalFile()).absoluteFilePath(path));
    if (target.isDir()) {
        return resolution("folder", QUrl::fromLocalFile(target.absoluteFilePath()));
    }
    if (target.isFile() || (forSaving && target.dir().exists())) {
        return resolution("file", QUrl::fromLocalFile(target.absoluteFilePath()));
    }
    return resolution("error", QStringLiteral("There is no file or folder at \"%1\".").arg(typed));
}

} // namespace brightfold::ui
