import QtQuick

// A failure, shown in the workflow's own words.
Item {
    id: screen

    property string message
    // The converted package survived a failed save and can be saved elsewhere.
    property bool canSaveElsewhere: false
    readonly property alias messageText: message
    signal resetRequested()
    signal saveElsewhereRequested()

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

        Row {
            anchors.horizontalCenter: parent.horizontalCenter
            spacing: 8

            GlassButton {
                visible: screen.canSaveElsewhere
                text: "Save Elsewhere…"
                symbol: "square.and.arrow.down.fill"
                onClicked: screen.saveElsewhereRequested()
            }
            GlassButton {
                text: "Try Again"
                symbol: "arrow.counterclockwise"
                onClicked: screen.resetRequested()
            }
        }
    }
}
