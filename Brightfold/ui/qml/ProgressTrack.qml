import QtQuick
import Brightfold.Preview

// A capsule track 300 wide whose cyan-to-blue fill shows `progress` (0 to 1).
Item {
    id: track

    property real progress: 0
    readonly property alias fillWidth: fill.width
    // The fill is still moving towards the latest progress.
    readonly property alias filling: fillAnimation.running
    readonly property real clampedProgress: isNaN(progress) ? 0 : Math.max(0, Math.min(1, progress))

    implicitWidth: 300
    implicitHeight: 8
    Accessible.role: Accessible.ProgressBar
    Accessible.name: qsTr("Conversion progress")

    Rectangle {
        anchors.fill: parent
        radius: height / 2
        color: Theme.withOpacity(Theme.white, 0.1)
    }

    Rectangle {
        id: fill
        height: parent.height
        width: track.clampedProgress * track.width
        radius: height / 2
        gradient: Gradient {
            orientation: Gradient.Horizontal
            GradientStop { position: 0; color: Theme.cyan }
            GradientStop { position: 1; color: Theme.blue }
        }

        // Drawn in software, the fill steps to each new value: gliding there would draw sixty
        // frames a second on the processor the conversion runs on.
        Behavior on width {
            enabled: !Renderer.software
            NumberAnimation { id: fillAnimation; duration: 200; easing.type: Easing.Linear }
        }
    }
}
