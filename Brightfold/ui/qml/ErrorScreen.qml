import QtQuick

// A failure, shown in the workflow's own words.
Item {
    id: screen

    property string message
    readonly property alias messageText: message
    signal resetRequested()

    Column {
        anchors.centerIn: parent
        width: parent.width
        spacing: 20

        SymbolIcon {
            anchors.horizontalCenter: parent.horizontalCenter
            name: "exclamationmark.triangle.fill"
            size: 26
            topColor: Theme.orange
        }

        CentredMessage {
            id: message
            text: screen.message
        }

        GlassButton {
            anchors.horizontalCenter: parent.horizontalCenter
            text: "Try Again"
            symbol: "arrow.counterclockwise"
            onClicked: screen.resetRequested()
        }
    }
}
