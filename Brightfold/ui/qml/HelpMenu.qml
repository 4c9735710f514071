import QtQuick
import QtQuick.Controls
import Brightfold.Ui

// About, then the help pages and the issue report, each handed to the desktop.
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
        onTriggered: MakerPages.open(MakerPages.HowToUse)
    }
    Action {
        text: "Supported 3D Formats"
        onTriggered: MakerPages.open(MakerPages.SupportedFormats)
    }
    Action {
        text: "Browser-based AR"
        onTriggered: MakerPages.open(MakerPages.BrowserAR)
    }
    MenuSeparator {}
    Action {
        text: "Report an Issue"
        onTriggered: MakerPages.open(MakerPages.ReportIssue)
    }
}
