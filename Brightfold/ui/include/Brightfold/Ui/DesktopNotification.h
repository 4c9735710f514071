#pragma once

#include <QString>

namespace brightfold::ui {

/// Shows a notification through the desktop's notification service (the freedesktop
/// interface on the session bus), under Brightfold's name and icon. Returns false, having
/// printed why on standard error, when no service answered.
bool showDesktopNotification(const QString& summary, const QString& body);

} // namespace brightfold::ui
