import QtQuick
import QtQuick.Layouts

// The USDZ just written, read back and shown in 3D, with the choice to keep it or not, and how
// it stands against AR Quick Look's rules and budgets. As a viewer (`viewOnly`) it shows an
// existing file, which is closed, or, when it fails the check, made AR-ready by converting it.
Item {
    id: screen

    property var scene
    property bool viewOnly: false
    property string viewedFileName
    // The workflow's notes; the view adds what it could not show.
    property var notes: []
    // "Ready for AR Quick Look", or the count of problems (listed among the notes).
    property string verdict
    property bool readyForAR: false
    property bool canMakeARReady: false
    // The model's animation clips and the position of the one the package plays; a choice is
    // offered when there are several.
    property var animationClips: []
    property int playedClip: -1
    readonly property var allNotes: Array.from(notes).concat(Array.from(viewport.sceneView.problems))
    readonly property alias viewport: viewport
    readonly property alias notesButton: notesButton
    readonly property alias notesPanel: notesPanel
    readonly property alias verdictLine: verdictLine
    signal discardRequested()
    signal saveRequested()
    signal closeRequested()
    signal makeARReadyRequested()
    readonly property alias clipChooser: clipChooser
    signal clipChosen(int position)

    ColumnLayout {
        anchors.fill: parent
        spacing: 16

        Text {
            Layout.alignment: Qt.AlignHCenter
            Layout.maximumWidth: screen.width - 2 * notesButton.width - 16
            text: screen.viewOnly ? screen.viewedFileName : "Previewing USDZ"
            textFormat: Text.PlainText
            elide: Text.ElideMiddle
            font.pixelSize: 14
            font.weight: Font.DemiBold
            color: Theme.withOpacity(Theme.white, 0.8)
        }

        TextButton {
            id: verdictLine
            Layout.alignment: Qt.AlignHCenter
            Layout.topMargin: -12
            visible: screen.verdict.length > 0
            text: screen.verdict
            pixelSize: 12
            textColor: screen.readyForAR ? Theme.withOpacity(Theme.green, 0.9)
                                         : Theme.withOpacity(Theme.orange, 0.9)
            onClicked: if (screen.allNotes.length > 0) notesPanel.open()
        }

        SceneViewport {
            id: viewport
            Layout.fillWidth: true
            Layout.fillHeight: true
            Layout.minimumHeight: 200
            scene: screen.scene
        }

        ClipChooser {
            id: clipChooser
            Layout.alignment: Qt.AlignHCenter
            visible: !screen.viewOnly && screen.animationClips.length > 1
            clips: screen.animationClips
            played: screen.playedClip
            onClipChosen: (position) => screen.clipChosen(position)
        }

        Row {
            Layout.alignment: Qt.AlignHCenter
            spacing: 12
            visible: !screen.viewOnly

            TextButton {
                anchors.verticalCenter: parent.verticalCenter
                text: "Discard"
                pixelSize: 13
                weight: Font.DemiBold
                textColor: Theme.withOpacity(Theme.red, 0.8)
                onClicked: screen.discardRequested()
            }
            GlassButton {
                anchors.verticalCenter: parent.verticalCenter
                text: "Save USDZ"
                symbol: "square.and.arrow.down.fill"
                onClicked: screen.saveRequested()
            }
        }

        Row {
            Layout.alignment: Qt.AlignHCenter
            spacing: 12
            visible: screen.viewOnly

            TextButton {
                anchors.verticalCenter: parent.verticalCenter
                visible: screen.canMakeARReady
                text: "Make AR-ready"
                pixelSize: 13
                weight: Font.DemiBold
                onClicked: screen.makeARReadyRequested()
            }
            GlassButton {
                anchors.verticalCenter: parent.verticalCenter
                text: "Close"
                symbol: "arrow.counterclockwise"
                onClicked: screen.closeRequested()
            }
        }
    }

    // Unobtrusive: a small count beside the title, only when there is something to say.
    TextButton {
        id: notesButton
        anchors.top: parent.top
        anchors.left: parent.left
        visible: screen.allNotes.length > 0
        text: screen.allNotes.length === 1 ? "1 note" : screen.allNotes.length + " notes"
        pixelSize: 12
        textColor: Theme.withOpacity(Theme.orange, 0.9)
        onClicked: notesPanel.open()
    }

    NotesPanel {
        id: notesPanel
        x: (screen.width - width) / 2
        y: 24
        width: screen.width
        height: screen.height - 24
        notes: screen.allNotes
    }
}
