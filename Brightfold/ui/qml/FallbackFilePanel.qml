import QtQuick
import QtQuick.Controls
import QtQuick.Layouts
import Qt.labs.folderlistmodel
import Brightfold.Ui

// A file panel in a window of its own, for desktops without a chooser of their own: Qt's
// built-in dialog would be squeezed into the small card. Lists folders and model files (any
// letter case), and takes a typed path: a folder to show or the file to take.
Window {
    id: panel

    property bool saving: false
    property url folder
    readonly property alias files: folderModel
    readonly property alias pathField: pathField
    readonly property alias problem: problem
    signal fileChosen(url file)

    title: saving ? "Save USDZ As" : "Choose a 3D file"
    width: 640
    height: 480
    minimumWidth: 420
    minimumHeight: 320
    flags: Qt.Dialog
    modality: Qt.ApplicationModal

    function openIn(startFolder, proposedName) {
        folder = startFolder
        pathField.text = proposedName || ""
        problem.text = ""
        list.currentIndex = -1
        show()
        raise()
        requestActivate()
        pathField.forceActiveFocus()
    }

    function take(file) {
        close()
        fileChosen(file)
    }

    function goTo(typed) {
        const target = FileChooser.resolveTypedPath(folder, typed, saving)
        problem.text = target.error || ""
        if (target.folder) {
            folder = target.folder
            pathField.text = ""
        } else if (target.file) {
            take(target.file)
        }
    }

    function activate(index) {
        if (index < 0)
            return
        if (folderModel.isFolder(index))
            folder = folderModel.get(index, "fileUrl")
        else
            take(folderModel.get(index, "fileUrl"))
    }

    FolderListModel {
        id: folderModel
        folder: panel.folder
        nameFilters: FileChooser.modelPatterns
        caseSensitive: false
        showDirsFirst: true
        showDotAndDotDot: false
    }

    ColumnLayout {
        anchors.fill: parent
        anchors.margins: 12
        spacing: 8

        RowLayout {
            Layout.fillWidth: true

            Button {
                text: "Up"
                enabled: String(folderModel.parentFolder) !== ""
                onClicked: panel.folder = folderModel.parentFolder
            }
            Label {
                Layout.fillWidth: true
                text: decodeURIComponent(String(panel.folder).replace(/^file:\/\//, ""))
                elide: Text.ElideMiddle
            }
        }

        TextField {
            id: pathField
            Layout.fillWidth: true
            placeholderText: "Type a path (a file, or a folder to show) and press Enter"
            onAccepted: panel.goTo(text)
        }

        Label {
            id: problem
            Layout.fillWidth: true
            visible: text !== ""
            color: "#c0392b"
            wrapMode: Text.Wrap
        }

        ListView {
            id: list
            Layout.fillWidth: true
            Layout.fillHeight: true
            clip: true
            model: folderModel
            currentIndex: -1
            ScrollBar.vertical: ScrollBar {}
            Keys.onReturnPressed: panel.activate(currentIndex)

            delegate: ItemDelegate {
                required property int index
                required property string fileName
                required property bool fileIsDir
                width: ListView.view.width
                text: fileIsDir ? fileName + "/" : fileName
                highlighted: ListView.isCurrentItem
                onClicked: {
                    list.currentIndex = index
                    if (panel.saving && !fileIsDir)
                        pathField.text = fileName
                }
                onDoubleClicked: panel.activate(index)
            }
        }

        RowLayout {
            Layout.alignment: Qt.AlignRight

            Button {
                text: "Cancel"
                onClicked: panel.close()
            }
            Button {
                text: panel.saving ? "Save" : "Open"
                highlighted: true
                enabled: pathField.text !== "" || list.currentIndex >= 0
                onClicked: pathField.text !== "" ? panel.goTo(pathField.text)
                                                 : panel.activate(list.currentIndex)
            }
        }
    }

    Shortcut {
        sequence: "Escape"
        onActivated: panel.close()
    }
}
