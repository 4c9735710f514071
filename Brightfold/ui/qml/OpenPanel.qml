import QtQuick
import QtQuick.Dialogs
import Brightfold.Ui

// Picks one model file, in the desktop's own chooser where there is one and otherwise in a
// panel window of our own. Both start in the folder last chosen from (else the home folder)
// and list model files whatever the case of their extension.
Item {
    id: panel

    readonly property bool isOpen: desktopChooser.visible || fallback.visible
    readonly property alias fallback: fallback
    signal fileChosen(url file)

    function open() {
        if (FileChooser.desktopChooserAvailable) {
            desktopChooser.currentFolder = FileChooser.startFolder
            desktopChooser.open()
        } else {
            fallback.openIn(FileChooser.startFolder, "")
        }
    }

    function choose(file) {
        FileChooser.rememberChoice(file)
        panel.fileChosen(file)
    }

    FileDialog {
        id: desktopChooser
        title: qsTr("Choose a 3D file")
        fileMode: FileDialog.OpenFile
        nameFilters: FileChooser.desktopNameFilters
        onAccepted: panel.choose(selectedFile)
    }

    FallbackFilePanel {
        id: fallback
        onFileChosen: (file) => panel.choose(file)
    }
}
