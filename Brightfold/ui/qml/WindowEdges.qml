import QtQuick

// Thin grips along the window's edges and corners that resize it. As with moving, the
// window manager does it where it can; otherwise the edge follows the pointer.
Item {
    id: edges

    readonly property int grip: 6

    Repeater {
        model: [Qt.LeftEdge, Qt.RightEdge, Qt.TopEdge, Qt.BottomEdge,
                Qt.TopEdge | Qt.LeftEdge, Qt.TopEdge | Qt.RightEdge,
                Qt.BottomEdge | Qt.LeftEdge, Qt.BottomEdge | Qt.RightEdge]

        MouseArea {
            required property int modelData
            readonly property bool horizontal: modelData & (Qt.LeftEdge | Qt.RightEdge)
            readonly property bool vertical: modelData & (Qt.TopEdge | Qt.BottomEdge)
            property bool followingPointer: false
            property point pressedAt
            property rect startGeometry

            x: modelData & Qt.RightEdge ? edges.width - edges.grip : (modelData & Qt.LeftEdge ? 0 : edges.grip)
            y: modelData & Qt.BottomEdge ? edges.height - edges.grip : (modelData & Qt.TopEdge ? 0 : edges.grip)
            width: horizontal ? edges.grip : edges.width - 2 * edges.grip
            height: vertical ? edges.grip : edges.height - 2 * edges.grip
            cursorShape: edges.cursorFor(modelData)

            onPressed: (mouse) => {
                const window = Window.window
                followingPointer = !window.startSystemResize(modelData)
                pressedAt = mapToGlobal(mouse.x, mouse.y)
                startGeometry = Qt.rect(window.x, window.y, window.width, window.height)
            }
            onPositionChanged: (mouse) => {
                if (followingPointer)
                    edges.resizeFollowing(modelData, startGeometry, pressedAt, mapToGlobal(mouse.x, mouse.y))
            }
            onReleased: followingPointer = false
        }
    }

    function cursorFor(edge) {
        switch (edge) {
        case Qt.LeftEdge: case Qt.RightEdge: return Qt.SizeHorCursor
        case Qt.TopEdge: case Qt.BottomEdge: return Qt.SizeVerCursor
        case Qt.TopEdge | Qt.LeftEdge: case Qt.BottomEdge | Qt.RightEdge: return Qt.SizeFDiagCursor
        default: return Qt.SizeBDiagCursor
        }
    }

    // Moves the dragged edges by the pointer's travel, never below the minimum size; a moved
    // left or top edge keeps the opposite edge where it was.
    function resizeFollowing(edge, start, from, to) {
        const window = Window.window
        let x = start.x, y = start.y, width = start.width, height = start.height
        if (edge & Qt.RightEdge)
            width = Math.max(window.minimumWidth, start.width + to.x - from.x)
        if (edge & Qt.BottomEdge)
            height = Math.max(window.minimumHeight, start.height + to.y - from.y)
        if (edge & Qt.LeftEdge) {
            width = Math.max(window.minimumWidth, start.width - (to.x - from.x))
            x = start.x + start.width - width
        }
        if (edge & Qt.TopEdge) {
            height = Math.max(window.minimumHeight, start.height - (to.y - from.y))
            y = start.y + start.height - height
        }
        window.setGeometry(x, y, width, height)
    }
}
