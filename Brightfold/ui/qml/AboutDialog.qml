import QtQuick
import QtQuick.Controls
import Brightfold.Ui

// Name, version and credits, ending in a link to the maker's web site.
Dialog {
    id: dialog

    readonly property string tagline: "A lightning-fast 3D conversion widget."
    readonly property string rightsNotice: "© 2026 Varlo, Inc. All rights reserved."

    anchors.centerIn: parent
    modal: true
    padding: 24
    // The default dimming would also darken the window's transparent margin.
    Overlay.modal: Item {}

    background: Rectangle {
        radius: 16
        color: Qt.rgba(0.09, 0.09, 0.11, 0.96)
        border.width: 1
        border.color: Theme.withOpacity(Theme.white, 0.2)
    }

    contentItem: Column {
        spacing: 6

        Text {
            anchors.horizontalCenter: parent.horizontalCenter
            text: "Brightfold"
            font.pixelSize: 16
            font.weight: Font.DemiBold
            color: Theme.white
        }
        Text {
            anchors.horizontalCenter: parent.horizontalCenter
            text: "Version 1.0"
            font.pixelSize: 11
            color: Theme.withOpacity(Theme.white, 0.6)
        }
        Text {
            anchors.horizontalCenter: parent.horizontalCenter
            topPadding: 10
            text: dialog.tagline + "\n\n" + dialog.rightsNotice + "\n"
            horizontalAlignment: Text.AlignHCenter
            font.pixelSize: 11
            color: Theme.white
        }
        TextButton {
            anchors.horizontalCenter: parent.horizontalCenter
            text: "Visit Varlo, Inc."
            pixelSize: 12
            weight: Font.DemiBold
            textColor: Theme.blue
            onClicked: MakerPages.open(MakerPages.Website)
        }
        TextButton {
            anchors.horizontalCenter: parent.horizontalCenter
            topPadding: 14
            text: qsTr("Close")
            onClicked: dialog.close()
        }
    }
}
