#include <Brightfold/Ui/ApplicationSetup.h>
#include <Brightfold/Ui/HelpPages.h>
#include <Brightfold/Ui/MakerPages.h>
#include <QClipboard>
#include <QCoreApplication>
#include <QDesktopServices>
#include <QDir>
#include <QFileInfo>
#include <QGuiApplication>
#include <QStandardPaths>
#include <QSysInfo>

namespace brightfold::ui {
namespace {

const QString installedFolder = QStringLiteral("brightfold/help");

bool holdsPages(const QString& folder) {
    return QFileInfo::exists(folder + QStringLiteral("/index.html"));
}

} // namespace

QString HelpPages::folder() {
    // Beside the program first, so a build or an unpacked copy finds its own pages.
    const QString besideProgram = QDir(QCoreApplication::applicationDirPath() +
                                       QStringLiteral("/../share/") + installedFolder)
                                      .absolutePath();
    if (holdsPages(besideProgram)) {
        return besideProgram;
    }
    const QString installed = QStandardPaths::locate(
        QStandardPaths::GenericDataLocation, installedFolder, QStandardPaths::LocateDirectory);
    return !installed.isEmpty() && holdsPages(installed) ? installed : QString();
}

QString HelpPages::fileName(Page page) {
    switch (page) {
    case GettingStarted:
        return QStringLiteral("getting-started.html");
    case Formats:
        return QStringLiteral("formats.html");
    case Conversion:
        return QStringLiteral("conversion.html");
    case Shortcuts:
        return QStringLiteral("shortcuts.html");
    case Troubleshooting:
        return QStringLiteral("troubleshooting.html");
    case Viewing:
        return QStringLiteral("viewing.html");
    case Report:
        break;
    }
    return QStringLiteral("report-issue.html");
}

QUrl HelpPages::address(Page page) {
    const QString pages = folder();
    if (!pages.isEmpty()) {
        return QUrl::fromLocalFile(pages + QLatin1Char('/') + fileName(page));
    }
    switch (page) {
    case GettingStarted:
        return MakerPages::address(MakerPages::HowToUse);
    case Formats:
        return MakerPages::address(MakerPages::SupportedFormats);
    case Viewing:
        return MakerPages::address(MakerPages::BrowserAR);
    case Report:
        return MakerPages::address(MakerPages::ReportIssue);
    default:
        return MakerPages::address(MakerPages::Website);
    }
}

QString HelpPages::reportDetails() {
    return QStringLiteral("Brightfold %1\n"
                          "System: %2 (kernel %3, %4)\n"
                          "Qt: %5, display: %6, desktop: %7\n"
                          "Report to: %8\n")
        .arg(QString::fromLatin1(applicationVersion), QSysInfo::prettyProductName(),
             QSysInfo::kernelVersion(), QSysInfo::currentCpuArchitecture(),
             QString::fromLatin1(qVersion()), QGuiApplication::platformName(),
             qEnvironmentVariable("XDG_CURRENT_DESKTOP", QStringLiteral("unknown")),
             MakerPages::address(MakerPages::ReportIssue).path());
}

void HelpPages::open(Page page) const {
    QDesktopServices::openUrl(address(page));
}

void HelpPages::reportIssue() const {
    QGuiApplication::clipboard()->setText(reportDetails());
    open(Report);
}

} // namespace brightfold::ui
