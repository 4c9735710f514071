import QtQuick

// A number that follows `target` like a damped spring. `response` is the period of the
// undamped swing in seconds; `dampingFraction` is the share of critical damping (below 1
// it overshoots a little). Starts at rest on its first target.
FrameAnimation {
    id: spring

    property real target: 0
    property real value: 0
    property real velocity: 0
    property real response: 0.4
    property real dampingFraction: 0.6

    readonly property real stiffness: Math.pow(2 * Math.PI / response, 2)
    readonly property real damping: 4 * Math.PI * dampingFraction / response
    // Small steps keep the integration stable whatever the frame rate.
    readonly property real stepSeconds: 1 / 240
    // A stalled frame must not fling the value far past its target.
    readonly property real longestFrame: 1 / 20

    running: false
    Component.onCompleted: value = target
    onTargetChanged: running = true
    onTriggered: advance(Math.min(frameTime, longestFrame))

    function advance(seconds) {
        for (let left = seconds; left > 0; left -= stepSeconds) {
            const dt = Math.min(stepSeconds, left)
            velocity += (stiffness * (target - value) - damping * velocity) * dt
            value += velocity * dt
        }
        if (Math.abs(target - value) < 1e-4 && Math.abs(velocity) < 1e-3) {
            value = target
            velocity = 0
            running = false
        }
    }
}
