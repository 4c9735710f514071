#pragma once

#include <QString>

namespace brightfold::ui {

// Opens the file with the desktop's default application for its type.
void openWithDefaultApplication(const QString& localPath);

// Shows the file selected in the desktop's file manager, through the freedesktop
// FileManager1 D-Bus service; where no file manager answers, opens the file's folder.
void revealInFileManager(const QString& localPath);

} // namespace brightfold::ui
