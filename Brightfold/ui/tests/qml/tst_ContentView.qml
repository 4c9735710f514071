import QtQuick
import QtTest
import Brightfold.Ui

Item {
    width: 560
    height: 520

    ContentView {
        id: view
        anchors.fill: parent
    }

    // Stands in for a file dragged in from a file manager.
    Rectangle {
        id: draggedFile
        width: 10
        height: 10
        x: -100
        Drag.keys: ["text/uri-list"]
        Drag.hotSpot: Qt.point(5, 5)
    }

    TestCase {
        name: "ContentView"
        when: windowShown

        function near(actual, expected) {
            return Math.abs(actual - expected) < 1e-3
        }
        function sameColour(actual, expected) {
            return near(actual.r, expected.r) && near(actual.g, expected.g)
                && near(actual.b, expected.b) && near(actual.a, expected.a)
        }

        function dragOver(keys) {
            draggedFile.Drag.keys = keys
            draggedFile.x = view.width / 2
            draggedFile.y = view.height / 2
            draggedFile.Drag.active = true
        }
        function dragAway() {
            draggedFile.x = -100
            draggedFile.Drag.active = false
        }

        function cleanup() {
            dragAway()
            view.screen = "idle"
            tryVerify(() => view.card.scale === 1)
        }

        function test_fileDraggedOverLiftsCardAndIconThenSettlesBack() {
            const resting = Theme.withOpacity(Theme.black, 0.3)
            verify(sameColour(view.card.shadowColor, resting))
            compare(view.card.shadowRadius, 20)

            dragOver(["text/uri-list"])
            verify(view.isTargeted)
            tryVerify(() => view.card.shadowRadius === 25, 3000, "the spring comes to rest")
            verify(near(view.card.scale, 1.02), "card scale " + view.card.scale)
            verify(near(view.currentScreen.icon.scale, 1.1), "icon scale")
            verify(sameColour(view.card.shadowColor, Theme.withOpacity(Theme.cyan, 0.6)))

            dragAway()
            verify(!view.isTargeted)
            tryVerify(() => view.card.scale === 1 && view.currentScreen.icon.scale === 1, 3000)
            verify(sameColour(view.card.shadowColor, resting))
        }

        function test_springOvershootsOnItsWayUp() {
            let largest = 1
            dragOver(["text/uri-list"])
            tryVerify(() => {
                largest = Math.max(largest, view.card.scale)
                return near(view.card.scale, 1.02) && largest > 1.02
            }, 3000, "an under-damped spring passes its target before settling")
        }

        function test_dragWithoutFilesIsNotATarget() {
            dragOver(["text/plain"])
            verify(!view.isTargeted)
        }

        function test_oneScreenPerState() {
            const expected = {
                "idle": "IdleScreen", "converting": "ConvertingScreen",
                "preview": "PreviewScreen", "success": "SuccessScreen", "error": "ErrorScreen"
            }
            for (const state in expected) {
                view.screen = state
                verify(String(view.currentScreen).startsWith(expected[state]),
                       state + " shows " + view.currentScreen)
            }
        }

        function test_screensShowTheStateTheyAreGiven() {
            view.screen = "converting"
            view.progress = 0.5
            tryVerify(() => near(view.currentScreen.progressTrack.fillWidth, 150))
            view.screen = "error"
            view.message = "Export failed during temp compilation."
            compare(view.currentScreen.messageText.text, "Export failed during temp compilation.")
            view.screen = "success"
            view.savedFileName = "chair.usdz"
            compare(view.currentScreen.messageText.text, "Saved Successfully!\nchair.usdz")
        }

        function test_cardFillsTheWindowInsideItsOuterPadding() {
            compare(view.implicitWidth, 500)
            compare(view.implicitHeight, 450)
            compare(view.card.width, view.width - 40)
            compare(view.card.height, view.height - 40)
        }
    }
}
