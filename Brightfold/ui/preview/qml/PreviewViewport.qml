import QtQuick
import QtQuick3D

// The 3D part of the preview: a transparent view with a camera, default lights and the
// pointer handlers. TransparentSceneView fills `sceneRoot` and moves the camera; the handlers
// only report motion back to it (`controller`).
View3D {
    id: view

    required property QtObject controller
    property alias sceneRoot: sceneRoot
    property alias orbitCamera: orbitCamera
    // Set when the scene brings lights of its own; they then replace the default ones.
    property bool sceneHasLights: false

    // The antialiasing mode is chosen for the renderer by TransparentSceneView; the quality
    // is what multisampling uses on a GPU.
    environment: SceneEnvironment {
        backgroundMode: SceneEnvironment.Transparent
        antialiasingQuality: SceneEnvironment.High
    }

    PerspectiveCamera {
        id: orbitCamera

        // For a scene without lights of its own: a key light from the viewer's upper left
        // and a weaker fill from below keep every side of the model readable while orbiting.
        DirectionalLight {
            objectName: "defaultKeyLight"
            visible: !view.sceneHasLights
            eulerRotation: Qt.vector3d(-30, -20, 0)
            brightness: 1.0
        }
        DirectionalLight {
            objectName: "defaultFillLight"
            visible: !view.sceneHasLights
            eulerRotation: Qt.vector3d(40, 150, 0)
            brightness: 0.4
        }
    }

    Node {
        id: sceneRoot
    }

    PointerDrag {
        acceptedButtons: Qt.LeftButton
        acceptedModifiers: Qt.NoModifier
        onMoved: (dx, dy) => view.controller.orbitBy(dx, dy)
    }

    PointerDrag {
        acceptedButtons: Qt.LeftButton
        acceptedModifiers: Qt.ShiftModifier
        onMoved: (dx, dy) => view.controller.panBy(dx, dy)
    }

    PointerDrag {
        acceptedButtons: Qt.RightButton | Qt.MiddleButton
        onMoved: (dx, dy) => view.controller.panBy(dx, dy)
    }

    // A mouse wheel reports whole notches (angleDelta); a trackpad's two-finger scroll reports
    // pixels, and pans as it does in other 3D viewers.
    WheelHandler {
        target: null
        onWheel: event => {
            if (event.pixelDelta.x !== 0 || event.pixelDelta.y !== 0)
                view.controller.panBy(event.pixelDelta.x, event.pixelDelta.y)
            else
                view.controller.zoomBy(Math.pow(1.0015, event.angleDelta.y))
        }
    }

    PinchHandler {
        target: null
        property real lastScale: 1
        onActiveChanged: lastScale = 1
        onUpdated: {
            view.controller.zoomBy(activeScale / lastScale)
            lastScale = activeScale
        }
    }
}
