import QtQuick
import QtQuick.Layouts

// The USDZ just written, read back and shown in 3D, with the choice to keep it or not.
Item {
    id: screen

    property var scene
    readonly property alias viewport: viewport
    signal discardRequested()
    signal saveRequested()

    ColumnLayout {
        anchors.fill: parent
        spacing: 16

        Text {
            Layout.alignment: Qt.AlignHCenter
            text: "Previewing USDZ"
            font.pixelSize: 14
            font.weight: Font.DemiBold
            color: Theme.withOpacity(Theme.white, 0.8)
        }

        SceneViewport {
            id: viewport
            Layout.fillWidth: true
            Layout.fillHeight: true
            Layout.minimumHeight: 200
            scene: screen.scene
        }

        Row {
            Layout.alignment: Qt.AlignHCenter
            spacing: 12

            TextButton {
                anchors.verticalCenter: parent.verticalCenter
                text: "Discard"
                pixelSize: 13
                weight: Font.DemiBold
                textColor: Theme.withOpacity(Theme.red, 0.8)
                onClicked: screen.discardRequested()
            }
            GlassButton {
                anchors.verticalCenter: parent.verticalCenter
                text: "Save USDZ"
                symbol: "square.and.arrow.down.fill"
                onClicked: screen.saveRequested()
            }
        }
    }
}
