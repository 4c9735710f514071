import QtQuick
import QtQuick.Dialogs
import Brightfold.Ui

// Asks where to save a package whose first save failed, proposing a file name and folder.
Item {
    id: panel

    readonly property bool isOpen: desktopChooser.visible || fallback.visible
    readonly property alias fallback: fallback
    signal destinationChosen(url file)

    function proposeAndOpen(proposal) {
        const text = String(proposal)
        const slash = text.lastIndexOf("/")
        const folder = text.substring(0, slash)
        if (FileChooser.desktopChooserAvailable) {
            desktopChooser.currentFolder = folder
            desktopChooser.selectedFile = proposal
            desktopChooser.open()
        } else {
            fallback.openIn(folder, decodeURIComponent(text.substring(slash + 1)))
        }
    }

    FileDialog {
        id: desktopChooser
        title: "Save USDZ As"
        fileMode: FileDialog.SaveFile
        nameFilters: ["USDZ packages (*.usdz)"]
        onAccepted: panel.destinationChosen(selectedFile)
    }

    FallbackFilePanel {
        id: fallback
        saving: true
        onFileChosen: (file) => panel.destinationChosen(file)
    }
}
