pragma Singleton
import QtQuick

// The card's colours and the one translucent material, in the dark appearance.
QtObject {
    readonly property color white: "#ffffff"
    readonly property color black: "#000000"
    readonly property color cyan: "#32c6e6"
    readonly property color blue: "#2f7df6"
    readonly property color green: "#34c759"
    readonly property color mint: "#3ddbc6"
    readonly property color orange: "#ff9a1f"
    readonly property color red: "#ff4a3d"
    // Stands in for a blurred backdrop, which needs a compositor we cannot count on.
    readonly property color translucentMaterial: Qt.rgba(0.11, 0.11, 0.13, 0.62)

    function withOpacity(colour, opacity) {
        return Qt.rgba(colour.r, colour.g, colour.b, colour.a * opacity)
    }

    // Blends from `from` (amount 0) to `to` (amount 1); a spring's overshoot is clamped.
    function mix(from, to, amount) {
        const t = Math.max(0, Math.min(1, amount))
        return Qt.rgba(from.r + (to.r - from.r) * t, from.g + (to.g - from.g) * t,
                       from.b + (to.b - from.b) * t, from.a + (to.a - from.a) * t)
    }
}
