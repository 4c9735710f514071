import QtQuick
import QtTest
import Brightfold.Ui
import "Finder.js" as Finder

Item {
    width: 460
    height: 400

    SuccessScreen {
        id: screen
        anchors.fill: parent
        savedFileName: "model.usdz"
    }

    SignalSpy { id: openSpy; target: screen; signalName: "openRequested" }
    SignalSpy { id: revealSpy; target: screen; signalName: "revealRequested" }
    SignalSpy { id: resetSpy; target: screen; signalName: "resetRequested" }

    TestCase {
        name: "SuccessScreen"
        when: windowShown

        function test_fileNameIsOnTheSecondLine() {
            compare(screen.messageText.text, "Saved Successfully!\nmodel.usdz")
            compare(screen.messageText.lineCount, 2)
            compare(screen.messageText.horizontalAlignment, Text.AlignHCenter)
        }

        function test_nameWithMarkupIsShownAsWritten() {
            screen.savedFileName = "<b>bold</b>.usdz"
            compare(screen.messageText.textFormat, Text.PlainText)
            compare(screen.messageText.text, "Saved Successfully!\n<b>bold</b>.usdz")
            screen.savedFileName = "model.usdz"
        }

        function test_buttonsOpenRevealAndReset() {
            verify(Finder.icon(screen, "checkmark.seal.fill"))
            compare(Finder.button(screen, "Open").symbol, "cube.fill")
            compare(Finder.button(screen, "Finder").symbol, "folder.fill")
            mouseClick(Finder.button(screen, "Open"))
            mouseClick(Finder.button(screen, "Finder"))
            mouseClick(Finder.button(screen, "Convert Another"))
            compare(openSpy.count, 1)
            compare(revealSpy.count, 1)
            compare(resetSpy.count, 1)
        }
    }
}
