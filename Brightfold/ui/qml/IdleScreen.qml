import QtQuick
import Qt5Compat.GraphicalEffects

// Waiting for a file: the drop prompt and the open button.
Item {
    id: screen

    // 0 at rest, 1 while a file hovers over the window (springs between).
    property real glow: 0
    readonly property alias icon: icon
    signal chooseFileRequested()

    Column {
        anchors.centerIn: parent
        width: parent.width
        spacing: 25

        SymbolIcon {
            id: icon
            anchors.horizontalCenter: parent.horizontalCenter
            name: "arkit"
            size: 75
            weight: Font.Light
            topColor: Theme.white
            bottomColor: Theme.withOpacity(Theme.white, 0.6)
            scale: 1 + 0.1 * screen.glow
            layer.enabled: true
            layer.effect: DropShadow {
                horizontalOffset: 0
                verticalOffset: 5
                radius: 10
                samples: 21
                color: Theme.withOpacity(Theme.white, 0.3)
            }
        }

        Text {
            anchors.horizontalCenter: parent.horizontalCenter
            text: "Drag & Drop 3D file here\n(.usdc, .usd, .gltf, .glb, .vrm)"
            textFormat: Text.PlainText
            horizontalAlignment: Text.AlignHCenter
            font.pixelSize: 16
            font.weight: Font.Medium
            color: Theme.white
        }

        GlassButton {
            anchors.horizontalCenter: parent.horizontalCenter
            text: "Select from Finder"
            symbol: "magnifyingglass"
            onClicked: screen.chooseFileRequested()
        }
    }
}
