import QtQuick

// The USDZ file was saved; open it, show it, or start again.
Item {
    id: screen

    property string savedFileName
    readonly property alias messageText: message
    signal openRequested()
    signal revealRequested()
    signal resetRequested()

    Column {
        anchors.centerIn: parent
        width: parent.width
        spacing: 20

        SymbolIcon {
            anchors.horizontalCenter: parent.horizontalCenter
            name: "checkmark.seal.fill"
            size: 60
            topColor: Theme.green
            bottomColor: Theme.mint
        }

        CentredMessage {
            id: message
            text: "Saved Successfully!\n" + screen.savedFileName
        }

        Row {
            anchors.horizontalCenter: parent.horizontalCenter
            spacing: 8

            GlassButton {
                text: "Open"
                symbol: "cube.fill"
                onClicked: screen.openRequested()
            }
            GlassButton {
                text: "Finder"
                symbol: "folder.fill"
                onClicked: screen.revealRequested()
            }
        }

        TextButton {
            anchors.horizontalCenter: parent.horizontalCenter
            topPadding: 10
            text: "Convert Another"
            textColor: Theme.withOpacity(Theme.white, 0.5)
            onClicked: screen.resetRequested()
        }
    }
}
