#pragma once

#include <QObject>
#include <QUrl>
#include <QtQml/qqmlregistration.h>

namespace brightfold::ui {

// The maker's web pages and support mail, all built from one web address (set in
// MakerPages.cpp), handed to the desktop's browser or mail client. What the desktop then
// does is not observed.
class MakerPages : public QObject {
    Q_OBJECT
    QML_ELEMENT
    QML_SINGLETON

  public:
    enum Page { HowToUse, SupportedFormats, BrowserAR, ReportIssue, Website };
    Q_ENUM(Page)

    using QObject::QObject;

    static QUrl address(Page page);
    Q_INVOKABLE void open(Page page) const;
};

} // namespace brightfold::ui
