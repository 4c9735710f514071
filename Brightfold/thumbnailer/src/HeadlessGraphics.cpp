#include "HeadlessGraphics.h"

#include <QByteArray>
#include <QtGlobal>

namespace brightfold::thumbnailer {

void chooseHeadlessGraphics() {
    qputenv("QT_QPA_PLATFORM", "eglfs");
    qputenv("EGL_PLATFORM", "surfaceless");
    // The plain EGL integration, with a screen of its own instead of a framebuffer device:
    // nothing is ever shown on it.
    qputenv("QT_QPA_EGLFS_INTEGRATION", "none");
    qputenv("QT_QPA_EGLFS_FB", "/dev/null");
    qputenv("QT_QPA_EGLFS_WIDTH", "2048");
    qputenv("QT_QPA_EGLFS_HEIGHT", "2048");
    qputenv("QT_QPA_EGLFS_PHYSICAL_WIDTH", "400");
    qputenv("QT_QPA_EGLFS_PHYSICAL_HEIGHT", "400");
    qputenv("QT_QPA_EGLFS_DEPTH", "32");
    qputenv("QT_QPA_EGLFS_DISABLE_INPUT", "1");
    // Nothing shown means no console to hand back either: leave the terminal's cursor alone.
    qputenv("QT_QPA_PRESERVE_CONSOLE_STATE", "1");
    qputenv("QML_DISABLE_DISK_CACHE", "1");
    qputenv("QT_DISABLE_SHADER_DISK_CACHE", "1");
    qputenv("MESA_SHADER_CACHE_DISABLE", "true");
}

} // namespace brightfold::thumbnailer
