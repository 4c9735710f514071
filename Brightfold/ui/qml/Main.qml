import QtQuick
import QtQuick.Window
import Brightfold.Ui

// The application's one window: frameless and transparent, so only the card shows.
Window {
    id: window

    required property AppBridge bridge
    readonly property alias content: content
    // Keys meant for an open dialog (Escape closes it) must not also act on the preview.
    readonly property bool previewHasKeys: bridge.screen === "preview" && !about.visible
                                           && !openPanel.visible

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
        previewScene: window.bridge.previewScene

        onChooseFileRequested: openPanel.open()
        onUrlsDropped: (urls) => window.bridge.dropUrls(urls)
        onSaveRequested: window.bridge.saveConvertedFile()
        onDiscardRequested: window.bridge.discardPreview()
        onResetRequested: window.bridge.resetToIdle()
        onOpenRequested: window.bridge.openSavedFile()
        onRevealRequested: window.bridge.revealSavedFile()

        WindowControls {
            anchors.fill: parent
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
        enabled: window.previewHasKeys
        onActivated: window.bridge.discardPreview()
    }
    Shortcut {
        sequence: "Ctrl+Q"
        onActivated: Qt.quit()
    }
    Shortcut {
        sequence: "F1"
        onActivated: MakerPages.open(MakerPages.HowToUse)
    }
}
