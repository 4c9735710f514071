import QtQuick

// The whole window: the card showing one screen per application state, and the drop target
// for files anywhere in the window. What is shown depends only on the properties below.
Item {
    id: view

    // The application state, flattened (see AppBridge).
    property string screen: "idle"
    property real progress: 0
    property string message
    property string savedFileName
    property string viewedFileName
    property var previewScene
    property var notes: []
    property var animationClips: []
    property int playedClip: -1
    property bool canSaveElsewhere: false
    property string verdict
    property bool readyForAR: false
    property bool canMakeARReady: false

    readonly property bool isTargeted: dropTarget.containsDrag
    // The card's lift or the progress fill is still moving (the converting screen's symbol
    // turns for as long as a conversion runs, and does not count).
    readonly property bool isSettling: lift.running
                                       || !!(currentScreen && currentScreen.progressTrack
                                             && currentScreen.progressTrack.filling)
    readonly property alias card: card
    readonly property alias currentScreen: screenLoader.item
    default property alias cardChrome: card.chrome

    signal chooseFileRequested()
    signal urlsDropped(var urls)
    signal saveRequested()
    signal discardRequested()
    signal resetRequested()
    signal openRequested()
    signal revealRequested()
    signal cancelRequested()
    signal saveElsewhereRequested()
    signal makeARReadyRequested()
    signal animationClipChosen(int position)

    implicitWidth: 500
    implicitHeight: 450

    DropArea {
        id: dropTarget
        anchors.fill: parent
        keys: ["text/uri-list"]
        onDropped: (drop) => {
            view.urlsDropped(drop.urls)
            drop.accept(Qt.CopyAction)
        }
    }

    Spring {
        id: lift
        target: view.isTargeted ? 1 : 0
    }

    Card {
        id: card
        anchors.fill: parent
        anchors.margins: 20
        glow: lift.value

        Loader {
            id: screenLoader
            anchors.fill: parent
            sourceComponent: {
                switch (view.screen) {
                case "converting": return convertingScreen
                case "preview": return previewScreen
                case "viewing": return viewingScreen
                case "success": return successScreen
                case "error": return errorScreen
                default: return idleScreen
                }
            }
        }
    }

    Component {
        id: idleScreen
        IdleScreen {
            glow: lift.value
            onChooseFileRequested: view.chooseFileRequested()
        }
    }
    Component {
        id: convertingScreen
        ConvertingScreen {
            progress: view.progress
            onCancelRequested: view.cancelRequested()
        }
    }
    Component {
        id: previewScreen
        PreviewScreen {
            scene: view.previewScene
            notes: view.notes
            verdict: view.verdict
            readyForAR: view.readyForAR
            animationClips: view.animationClips
            playedClip: view.playedClip
            onDiscardRequested: view.discardRequested()
            onSaveRequested: view.saveRequested()
            onClipChosen: (position) => view.animationClipChosen(position)
        }
    }
    Component {
        id: viewingScreen
        PreviewScreen {
            viewOnly: true
            viewedFileName: view.viewedFileName
            scene: view.previewScene
            notes: view.notes
            verdict: view.verdict
            readyForAR: view.readyForAR
            canMakeARReady: view.canMakeARReady
            onCloseRequested: view.resetRequested()
            onMakeARReadyRequested: view.makeARReadyRequested()
        }
    }
    Component {
        id: successScreen
        SuccessScreen {
            savedFileName: view.savedFileName
            onOpenRequested: view.openRequested()
            onRevealRequested: view.revealRequested()
            onResetRequested: view.resetRequested()
        }
    }
    Component {
        id: errorScreen
        ErrorScreen {
            message: view.message
            canSaveElsewhere: view.canSaveElsewhere
            onResetRequested: view.resetRequested()
            onSaveElsewhereRequested: view.saveElsewhereRequested()
        }
    }
}
