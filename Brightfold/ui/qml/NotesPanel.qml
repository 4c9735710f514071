import QtQuick
import QtQuick.Controls
import QtQuick.Layouts

// The conversion's notes, one paragraph each, over the preview: what was left out,
// approximated or repaired. Closed with Escape, a click outside or its own button.
Popup {
    id: panel

    property var notes: []

    modal: true
    focus: true
    padding: 16
    closePolicy: Popup.CloseOnEscape | Popup.CloseOnPressOutside
    // The default dimming would also darken the window's transparent margin.
    Overlay.modal: Item {}

    background: Rectangle {
        radius: 12
        color: Qt.rgba(0.09, 0.09, 0.11, 0.96)
        border.width: 1
        border.color: Theme.withOpacity(Theme.white, 0.2)
    }

    contentItem: ColumnLayout {
        spacing: 10

        Text {
            text: panel.notes.length === 1 ? "1 note on this conversion"
                                           : panel.notes.length + " notes on this conversion"
            font.pixelSize: 13
            font.weight: Font.DemiBold
            color: Theme.white
        }

        ScrollView {
            id: scroller
            Layout.fillWidth: true
            Layout.fillHeight: true
            contentWidth: availableWidth
            clip: true

            Column {
                id: list
                width: scroller.availableWidth
                spacing: 8

                Repeater {
                    model: panel.notes
                    Text {
                        required property string modelData
                        width: list.width
                        text: modelData
                        textFormat: Text.PlainText
                        wrapMode: Text.Wrap
                        font.pixelSize: 12
                        color: Theme.withOpacity(Theme.white, 0.85)
                    }
                }
            }
        }

        TextButton {
            Layout.alignment: Qt.AlignRight
            text: "Close"
            onClicked: panel.close()
        }
    }
}
