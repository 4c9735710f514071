import QtQuick
import Brightfold.Preview

// A conversion runs: a spinning symbol, the write progress and a way to stop it.
Item {
    id: screen

    property real progress: 0
    signal cancelRequested()
    readonly property alias icon: icon
    readonly property alias progressTrack: track

    readonly property int turnMilliseconds: 1500
    // Drawn in software, each frame of the card costs the conversion CPU: the symbol then turns
    // at the same speed in twelve steps a turn, eight frames a second instead of sixty.
    readonly property int steps: 12

    Timer {
        running: Renderer.software
        repeat: true
        interval: screen.turnMilliseconds / screen.steps
        onTriggered: icon.rotation = (icon.rotation + 360 / screen.steps) % 360
    }

    Column {
        anchors.centerIn: parent
        spacing: 20

        SymbolIcon {
            id: icon
            anchors.horizontalCenter: parent.horizontalCenter
            name: "arrow.triangle.2.circlepath"
            size: 50
            weight: Font.Light
            topColor: Theme.white
            bottomColor: Theme.withOpacity(Theme.white, 0.6)

            NumberAnimation on rotation {
                running: !Renderer.software
                from: 0
                to: 360
                duration: screen.turnMilliseconds
                loops: Animation.Infinite
                easing.type: Easing.Linear
            }
        }

        Text {
            anchors.horizontalCenter: parent.horizontalCenter
            text: "Compiling USDZ..."
            font.pixelSize: 15
            font.weight: Font.Medium
            color: Theme.white
        }

        ProgressTrack {
            id: track
            progress: screen.progress
        }

        TextButton {
            anchors.horizontalCenter: parent.horizontalCenter
            text: "Cancel"
            textColor: Theme.withOpacity(Theme.white, 0.5)
            onClicked: screen.cancelRequested()
        }
    }
}
