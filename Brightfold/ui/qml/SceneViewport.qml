import QtQuick
import Qt5Compat.GraphicalEffects
import Brightfold.Preview

// The 3D preview's frame: rounded corners that clip the view, and a faint outline.
Item {
    id: viewport

    property var scene
    readonly property alias sceneView: view

    TransparentSceneView {
        id: view
        anchors.fill: parent
        scene: viewport.scene
        layer.enabled: true
        layer.effect: OpacityMask {
            maskSource: Rectangle {
                width: view.width
                height: view.height
                radius: 15
            }
        }
    }

    Rectangle {
        anchors.fill: parent
        radius: 15
        color: "transparent"
        border.width: 1
        border.color: Theme.withOpacity(Theme.white, 0.2)
    }
}
