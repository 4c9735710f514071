import QtQuick
import QtQuick.Controls
import Brightfold.Ui

// About, then the installed help pages and the issue report, each opened in the desktop's
// browser.
Menu {
    id: menu

    signal aboutRequested()

    Action {
        text: "About Brightfold"
        onTriggered: menu.aboutRequested()
    }
    MenuSeparator {}
    Action {
        text: "How to use Brightfold"
        onTriggered: HelpPages.open(HelpPages.GettingStarted)
    }
    Action {
        text: "Supported 3D Formats"
        onTriggered: HelpPages.open(HelpPages.Formats)
    }
    Action {
        text: "Browser-based AR"
        onTriggered: HelpPages.open(HelpPages.Viewing)
    }
    MenuSeparator {}
    Action {
        text: "Report an Issue"
        onTriggered: HelpPages.reportIssue()
    }
}
