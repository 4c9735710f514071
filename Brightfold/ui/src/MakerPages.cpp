#include <Brightfold/Ui/MakerPages.h>
#include <QDesktopServices>
#include <QString>

namespace brightfold::ui {
namespace {

constexpr auto websiteAddress = "https://www.varlo.example";
constexpr auto supportMailAddress = "support@varlo.example";

QUrl onWebsite(const char* path) {
    return QUrl(QString::fromLatin1(websiteAddress) + path);
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
        return QUrl(QStringLiteral("mailto:%1?subject=Brightfold%20Bug")
                        .arg(QString::fromLatin1(supportMailAddress)));
    case Website:
        break;
    }
    return onWebsite("");
}

void MakerPages::open(Page page) const {
    QDesktopServices::openUrl(address(page));
}

} // namespace brightfold::ui
