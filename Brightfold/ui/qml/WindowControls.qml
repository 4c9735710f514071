import QtQuick

// The window's own controls on the card, as a frameless window has no title bar: the menu,
// minimise and close.
Item {
    id: controls

    // The profile of the packages written, as the menu offers it.
    property bool forUsdTools: false
    signal profileChosen(bool forUsdTools)
    signal aboutRequested()
    signal minimiseRequested()
    signal closeRequested()

    Row {
        anchors.top: parent.top
        anchors.right: parent.right
        anchors.margins: 12
        spacing: 4

        ChromeButton {
            id: menuButton
            text: qsTr("Menu")
            symbol: "window.menu"
            onClicked: menu.popup(menuButton, 0, menuButton.height)
        }
        ChromeButton {
            text: qsTr("Minimise")
            symbol: "window.minimise"
            onClicked: controls.minimiseRequested()
        }
        ChromeButton {
            text: qsTr("Close")
            symbol: "window.close"
            onClicked: controls.closeRequested()
        }
    }

    HelpMenu {
        id: menu
        forUsdTools: controls.forUsdTools
        onProfileChosen: (forUsdTools) => controls.profileChosen(forUsdTools)
        onAboutRequested: controls.aboutRequested()
    }
}
