import QtQuick
import Qt5Compat.GraphicalEffects

// A named symbol from the icon font, filled with a vertical gradient from `topColor` to
// `bottomColor` (the same colour twice gives a solid fill).
Item {
    id: icon

    property string name
    property real size: 16
    property int weight: Font.Normal
    property color topColor: Theme.white
    property color bottomColor: topColor
    readonly property string glyph: Symbols.glyph(name)

    implicitWidth: glyphText.implicitWidth
    implicitHeight: glyphText.implicitHeight
    Accessible.ignored: true

    Text {
        id: glyphText
        anchors.centerIn: parent
        visible: false
        text: icon.glyph
        font.family: Symbols.fontFamily
        font.pixelSize: icon.size
        font.weight: icon.weight
        color: Theme.white
    }

    LinearGradient {
        anchors.fill: glyphText
        source: glyphText
        start: Qt.point(0, 0)
        end: Qt.point(0, height)
        gradient: Gradient {
            GradientStop { position: 0; color: icon.topColor }
            GradientStop { position: 1; color: icon.bottomColor }
        }
    }
}
