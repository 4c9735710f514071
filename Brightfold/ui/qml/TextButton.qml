import QtQuick
import QtQuick.Controls

// A button that is only its words: no capsule, no frame.
Button {
    id: control

    property color textColor: Theme.white
    property real pixelSize: 13
    property int weight: Font.Normal

    padding: 0
    opacity: down ? 0.7 : 1
    Accessible.name: text

    contentItem: Text {
        text: control.text
        color: control.textColor
        font.pixelSize: control.pixelSize
        font.weight: control.weight
        font.underline: control.visualFocus
        horizontalAlignment: Text.AlignHCenter
        verticalAlignment: Text.AlignVCenter
    }
    background: Item {}
}
