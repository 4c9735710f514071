import QtQuick
import QtTest
import Brightfold.Ui
import "Finder.js" as Finder

Item {
    width: 460
    height: 400

    ErrorScreen {
        id: screen
        anchors.fill: parent
    }

    SignalSpy { id: resetSpy; target: screen; signalName: "resetRequested" }

    TestCase {
        name: "ErrorScreen"
        when: windowShown

        function test_multiLineMessageIsShownVerbatimAndCentred() {
            const message = "Failed to parse 3D data: \nThe file <model.glb> is not\n  a glTF file."
            screen.message = message
            compare(screen.messageText.text, message)
            compare(screen.messageText.textFormat, Text.PlainText)
            compare(screen.messageText.lineCount, 3)
            compare(screen.messageText.horizontalAlignment, Text.AlignHCenter)
        }

        function test_longLineWrapsInsideTheCard() {
            screen.message = "x ".repeat(200)
            verify(screen.messageText.width <= screen.width)
            verify(screen.messageText.lineCount > 1)
        }

        function test_iconAndTryAgain() {
            const icon = Finder.icon(screen, "exclamationmark.triangle.fill")
            verify(icon)
            compare(icon.topColor, Theme.orange)
            const retry = Finder.button(screen, "Try Again")
            compare(retry.symbol, "arrow.counterclockwise")
            mouseClick(retry)
            compare(resetSpy.count, 1)
        }
    }
}
