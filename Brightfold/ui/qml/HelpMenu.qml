import QtQuick
import QtQuick.Controls
import Brightfold.Ui

// Which readers the packages are made for, About, then the installed help pages and the issue
// report, each opened in the desktop's browser.
Menu {
    id: menu

    // Packages for USD tools keep what AR Quick Look refuses (lights, curves).
    property bool forUsdTools: false
    signal profileChosen(bool forUsdTools)
    signal aboutRequested()

    ActionGroup {
        id: profiles
        exclusive: true
    }
    Action {
        text: "Packages for AR Quick Look"
        checkable: true
        checked: !menu.forUsdTools
        ActionGroup.group: profiles
        onTriggered: menu.profileChosen(false)
    }
    Action {
        text: "Packages for USD Tools (Lights, Curves)"
        checkable: true
        checked: menu.forUsdTools
        ActionGroup.group: profiles
        onTriggered: menu.profileChosen(true)
    }
    MenuSeparator {}

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
