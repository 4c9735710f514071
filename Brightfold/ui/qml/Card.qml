import QtQuick
import Qt5Compat.GraphicalEffects

// The floating glass card that holds the current screen. `glow` (0 at rest, 1 while a file
// hovers) lifts it: a little larger, with a cyan shadow instead of a dark one.
Item {
    id: card

    property real glow: 0
    default property alias content: screenArea.data
    property alias chrome: chromeLayer.data
    readonly property color shadowColor: Theme.mix(Theme.withOpacity(Theme.black, 0.3),
                                                   Theme.withOpacity(Theme.cyan, 0.6), glow)
    readonly property real shadowRadius: 20 + 5 * glow

    implicitWidth: 420
    implicitHeight: 380
    scale: 1 + 0.02 * glow

    // A glow of fixed shape whose reach and colour are plain uniforms: it may follow the
    // spring every frame, where a blurred copy of the card would rebuild its shader.
    RectangularGlow {
        x: 0
        y: 10
        width: card.width
        height: card.height
        glowRadius: card.shadowRadius
        cornerRadius: 30 + glowRadius
        color: card.shadowColor
    }

    Rectangle {
        anchors.fill: parent
        radius: 30
        color: Theme.translucentMaterial
    }

    Rectangle {
        id: edge
        anchors.fill: parent
        radius: 30
        color: "transparent"
        border.width: 1.5
        border.color: Theme.white
        visible: false
    }

    LinearGradient {
        anchors.fill: edge
        source: edge
        start: Qt.point(0, 0)
        end: Qt.point(width, height)
        gradient: Gradient {
            GradientStop { position: 0; color: Theme.withOpacity(Theme.white, 0.6) }
            GradientStop { position: 1 / 3; color: Theme.withOpacity(Theme.white, 0.1) }
            GradientStop { position: 2 / 3; color: Theme.withOpacity(Theme.white, 0) }
            GradientStop { position: 1; color: Theme.withOpacity(Theme.white, 0.2) }
        }
    }

    WindowMover {
        anchors.fill: parent
    }

    Item {
        id: screenArea
        anchors.fill: parent
        anchors.margins: 30
    }

    Item {
        id: chromeLayer
        anchors.fill: parent
    }
}
