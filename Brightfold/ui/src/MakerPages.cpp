#include <Brightfold/Ui/MakerPages.h>
#include <QDesktopServices>
#include <QString>

namespace brightfold::ui {
namespace {

// The maker's web site, and the one place to set it: the About link, the online stand-ins
// for help pages that are not installed and the support mail's domain all derive from it.
constexpr auto websiteAddress = "https://www.varlo.example";

QUrl onWebsite(const char* path) {
    return QUrl(QString::fromLatin1(websiteAddress) + path);
}

QString supportMailAddress() {
    QString domain = onWebsite("").host();
    if (domain.startsWith(QStringLiteral("www."))) {
        domain.remove(0, 4);
    }
    return QStringLiteral("support@") + domain;
}

} // namespace

QUrl MakerPages::address(Page page) {
    switch (page) {
    case HowToUse:
        return onWebsite("/usdzhelp");
    case SupportedFormats:
        return onWebsite("/usdzformats");
    case BrowserAR:
        return onWebsite("/");
    case ReportIssue:
        return QUrl(QStringLiteral("mailto:%1?subject=Brightfold%20Bug").arg(supportMailAddress()));
    case Website:
        break;
    }
    return onWebsite("");
}

void MakerPages::open(Page page) const {
    QDesktopServices::openUrl(address(page));
}

} // namespace brightfold::ui
