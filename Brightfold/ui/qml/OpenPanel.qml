import QtQuick
import QtQuick.Dialogs

// Picks one model file. Upper-case names pass too: the loader ignores the extension's case.
FileDialog {
    id: panel

    signal fileChosen(url file)

    title: qsTr("Choose a 3D file")
    fileMode: FileDialog.OpenFile
    nameFilters: ["3D files (*.usdc *.usd *.gltf *.glb *.vrm *.USDC *.USD *.GLTF *.GLB *.VRM)"]
    onAccepted: panel.fileChosen(selectedFile)
}
