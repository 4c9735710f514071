#pragma once

#include <QString>

namespace brightfold::ui {

// The desktop entry of the default application for a MIME type, as the desktop's MIME
// settings name it ("brightfold.desktop"); empty when there is none or it cannot be asked.
QString defaultApplicationFor(const QString& mimeType);

// Opens a USDZ package with the desktop's default application for packages, unless that is
// this program or there is none. False when the package was not handed on.
bool openWithOtherApplication(const QString& localPath);

// Shows the file selected in the desktop's file manager, through the freedesktop
// FileManager1 D-Bus service; where no file manager answers, opens the file's folder.
void revealInFileManager(const QString& localPath);

} // namespace brightfold::ui
