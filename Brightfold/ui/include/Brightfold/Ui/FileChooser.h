#pragma once

#include <QObject>
#include <QString>
#include <QStringList>
#include <QUrl>
#include <QVariantMap>
#include <QtQml/qqmlregistration.h>

namespace brightfold::ui {

// What the open panel needs beyond QML: whether the desktop has its own file chooser, where
// to start, the files to list, and what a typed path means.
class FileChooser : public QObject {
    Q_OBJECT
    QML_ELEMENT
    QML_SINGLETON
    Q_PROPERTY(bool desktopChooserAvailable READ desktopChooserAvailable CONSTANT)
    Q_PROPERTY(QStringList modelPatterns READ modelPatterns CONSTANT)
    Q_PROPERTY(QStringList desktopNameFilters READ desktopNameFilters CONSTANT)
    // The folder the panel opens in: the last one a file was chosen from, else the home folder.
    Q_PROPERTY(QUrl startFolder READ startFolder NOTIFY startFolderChanged)

  public:
    using QObject::QObject;

    // True where Qt shows the desktop's chooser (through the portal or GTK) rather than its
    // own small in-window dialog: the platform theme asked for, or the one Qt picks for the
    // running desktop.
    static bool desktopChooserAvailable();
    // The files the panel lists, matched in any letter case.
    static QStringList modelPatterns();
    // The same for the desktop's chooser, whose patterns are case-sensitive: each letter is
    // spelled both ways ("*.[gG][lL][bB]").
    static QStringList desktopNameFilters();

    QUrl startFolder() const;
    // Remembers the folder of a chosen file for the next time.
    Q_INVOKABLE void rememberChoice(const QUrl& file);

    // What a path typed in the panel names, relative to the folder shown: {"folder": url} for
    // a folder to show, {"file": url} for a file to open (or, `forSaving`, a file to create
    // in an existing folder), or {"error": text}. "~" at the start is the home folder; a file
    // URL is accepted too.
    Q_INVOKABLE static QVariantMap resolveTypedPath(const QUrl& shownFolder, const QString& typed,
                                                    bool forSaving = false);

  signals:
    void startFolderChanged();

  private:
    QUrl lastFolder_;
};

} // namespace brightfold::ui
