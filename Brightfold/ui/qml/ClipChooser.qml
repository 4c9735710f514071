import QtQml
import QtQuick
import QtQuick.Controls

// The animation clip the package plays, as a button that lists the model's clips: the AR
// viewer plays one, so choosing another converts the model again with that clip alone.
TextButton {
    id: chooser

    property var clips: []
    property int played: -1
    readonly property alias menu: menu
    signal clipChosen(int position)

    text: "Animation: " + (played >= 0 ? clips[played] : "none") + "  \u25be"
    pixelSize: 12
    textColor: Theme.withOpacity(Theme.white, 0.8)
    onClicked: menu.popup(chooser, 0, chooser.height)

    Menu {
        id: menu

        Instantiator {
            model: chooser.clips
            delegate: MenuItem {
                required property int index
                required property string modelData
                text: modelData
                checkable: true
                checked: index === chooser.played
                onTriggered: {
                    if (index !== chooser.played)
                        chooser.clipChosen(index)
                }
            }
            onObjectAdded: (index, item) => menu.insertItem(index, item)
            onObjectRemoved: (index, item) => menu.removeItem(item)
        }
    }
}
