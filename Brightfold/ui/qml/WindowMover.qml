import QtQuick

// Dragging here moves the window. The window manager does the move where it can (it also
// snaps, and on Wayland nothing else may move a window); without one the window follows
// the pointer.
MouseArea {
    id: mover

    property bool followingPointer: false
    property point pressedAt
    property point windowStart

    onPressed: (mouse) => {
        followingPointer = !Window.window.startSystemMove()
        pressedAt = mapToGlobal(mouse.x, mouse.y)
        windowStart = Qt.point(Window.window.x, Window.window.y)
    }
    onPositionChanged: (mouse) => {
        if (!followingPointer)
            return
        const now = mapToGlobal(mouse.x, mouse.y)
        Window.window.x = windowStart.x + now.x - pressedAt.x
        Window.window.y = windowStart.y + now.y - pressedAt.y
    }
    onReleased: followingPointer = false
}
