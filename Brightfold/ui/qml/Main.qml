import QtQuick
import QtQuick.Window
import Brightfold.Ui

// The application's one window: frameless and transparent, so only the card shows.
Window {
    id: window

    required property AppBridge bridge
    readonly property alias content: content
    readonly property alias openPanel: openPanel
    readonly property alias savePanel: savePanel
    // Keys meant for an open dialog (Escape closes it) must not also act on the screen.
    readonly property bool screenHasKeys: !about.visible && !openPanel.isOpen
                                          && !savePanel.isOpen
                                          && !(content.currentScreen
                                               && content.currentScreen.notesPanel
                                               && content.currentScreen.notesPanel.visible)
    readonly property bool previewHasKeys: bridge.screen === "preview" && screenHasKeys

    flags: Qt.Window | Qt.FramelessWindowHint
    color: "transparent"
    title: "Brightfold"
    width: 560
    height: 520
    minimumWidth: 500
    minimumHeight: 450
    visible: true

    ContentView {
        id: content
        anchors.fill: parent
        screen: window.bridge.screen
        progress: window.bridge.progress
        message: window.bridge.message
        savedFileName: window.bridge.savedFileName
        viewedFileName: window.bridge.viewedFileName
        previewScene: window.bridge.previewScene
        notes: window.bridge.notes
        animationClips: window.bridge.animationClips
        playedClip: window.bridge.playedClip
        canSaveElsewhere: window.bridge.canSaveElsewhere
        verdict: window.bridge.verdict
        readyForAR: window.bridge.readyForAR
        canMakeARReady: window.bridge.canMakeARReady

        onChooseFileRequested: openPanel.open()
        onUrlsDropped: (urls) => window.bridge.dropUrls(urls)
        onSaveRequested: window.bridge.saveConvertedFile()
        onDiscardRequested: window.bridge.discardPreview()
        onResetRequested: window.bridge.resetToIdle()
        onOpenRequested: window.bridge.openSavedFile()
        onRevealRequested: window.bridge.revealSavedFile()
        onCancelRequested: window.bridge.cancel()
        onAnimationClipChosen: (position) => window.bridge.chooseAnimationClip(position)
        onSaveElsewhereRequested: savePanel.proposeAndOpen(window.bridge.saveElsewhereProposal)
        onMakeARReadyRequested: window.bridge.makeARReady()

        WindowControls {
            anchors.fill: parent
            forUsdTools: window.bridge.forUsdTools
            onProfileChosen: (forUsdTools) => window.bridge.forUsdTools = forUsdTools
            onAboutRequested: about.open()
            onMinimiseRequested: window.showMinimized()
            onCloseRequested: window.close()
        }
    }

    WindowEdges {
        anchors.fill: parent
    }

    OpenPanel {
        id: openPanel
        onFileChosen: (file) => window.bridge.convertFile(file)
    }

    SavePanel {
        id: savePanel
        onDestinationChosen: (file) => window.bridge.saveElsewhere(file)
    }

    AboutDialog {
        id: about
    }

    Shortcut {
        sequence: "Ctrl+O"
        enabled: window.bridge.screen !== "converting"
        onActivated: openPanel.open()
    }
    Shortcut {
        sequence: "Ctrl+S"
        enabled: window.previewHasKeys
        onActivated: window.bridge.saveConvertedFile()
    }
    Shortcut {
        sequence: "Escape"
        enabled: window.screenHasKeys
                 && ["preview", "converting", "viewing"].includes(window.bridge.screen)
        onActivated: {
            if (window.bridge.screen === "preview")
                window.bridge.discardPreview()
            else if (window.bridge.screen === "converting")
                window.bridge.cancel()
            else
                window.bridge.resetToIdle()
        }
    }
    Shortcut {
        sequence: "Ctrl+Q"
        onActivated: Qt.quit()
    }
    Shortcut {
        sequence: "F1"
        onActivated: HelpPages.open(HelpPages.GettingStarted)
    }
}
