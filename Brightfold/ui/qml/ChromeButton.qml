import QtQuick
import QtQuick.Controls

// A small round symbol button for the window's own controls on the card.
Button {
    id: control

    property string symbol

    implicitWidth: 22
    implicitHeight: 22
    padding: 0
    Accessible.name: text

    contentItem: SymbolIcon {
        name: control.symbol
        size: 14
        topColor: Theme.withOpacity(Theme.white, control.hovered || control.visualFocus ? 0.9 : 0.5)
    }
    background: Rectangle {
        radius: width / 2
        color: Theme.withOpacity(Theme.white, control.down ? 0.2 : (control.hovered ? 0.1 : 0))
        border.width: control.visualFocus ? 1 : 0
        border.color: Theme.cyan
    }
}
