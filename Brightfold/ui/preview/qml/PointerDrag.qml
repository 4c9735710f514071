import QtQuick

// A drag that moves nothing itself and reports each step of the pointer in pixels.
DragHandler {
    id: drag

    signal moved(real dx, real dy)

    property point last

    target: null
    onActiveChanged: last = centroid.position
    onCentroidChanged: {
        if (active) {
            drag.moved(centroid.position.x - last.x, centroid.position.y - last.y)
            last = centroid.position
        }
    }
}
