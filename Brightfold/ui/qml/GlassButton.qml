import QtQuick
import QtQuick.Controls

// The capsule button of every main action: a symbol and a title on frosted glass.
Button {
    id: control

    property string symbol

    leftPadding: 16
    rightPadding: 16
    topPadding: 8
    bottomPadding: 8
    opacity: down ? 0.7 : 1
    Accessible.name: text

    contentItem: Row {
        spacing: 6

        SymbolIcon {
            anchors.verticalCenter: parent.verticalCenter
            name: control.symbol
            size: 11
            weight: Font.DemiBold
        }
        Text {
            anchors.verticalCenter: parent.verticalCenter
            text: control.text
            font.pixelSize: 12
            font.weight: Font.DemiBold
            color: Theme.white
        }
    }

    background: Rectangle {
        radius: height / 2
        color: Theme.translucentMaterial
        border.width: 1
        // Keyboard users need to see where they are; the resting edge is the faint one.
        border.color: control.visualFocus ? Theme.cyan : Theme.withOpacity(Theme.white, 0.4)
    }
}
