#pragma once

#include <QObject>
#include <QString>
#include <QUrl>
#include <QtQml/qqmlregistration.h>

namespace brightfold::ui {

// The help pages installed with the program (share/brightfold/help), opened in the
// desktop's browser, so help works offline. Where they are not installed, the maker's
// online pages stand in for the ones it has.
class HelpPages : public QObject {
    Q_OBJECT
    QML_ELEMENT
    QML_SINGLETON

  public:
    enum Page { GettingStarted, Formats, Conversion, Shortcuts, Troubleshooting, Viewing, Report };
    Q_ENUM(Page)

    using QObject::QObject;

    // The folder holding the installed pages, looked for beside the program first; empty
    // when there is none.
    static QString folder();
    static QString fileName(Page page);
    static QUrl address(Page page);
    // What a report should contain: version, system and graphics details.
    static QString reportDetails();

    Q_INVOKABLE void open(Page page) const;
    // Opens the page on reporting an issue and puts the report details on the clipboard.
    Q_INVOKABLE void reportIssue() const;
};

} // namespace brightfold::ui
