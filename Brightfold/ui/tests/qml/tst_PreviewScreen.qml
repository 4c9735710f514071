import QtQuick
import QtTest
import Brightfold.Ui
import "Finder.js" as Finder

Item {
    width: 460
    height: 320

    PreviewScreen {
        id: screen
        anchors.fill: parent
    }

    SignalSpy {
        id: saveSpy
        target: screen
        signalName: "saveRequested"
    }
    SignalSpy {
        id: discardSpy
        target: screen
        signalName: "discardRequested"
    }

    TestCase {
        name: "PreviewScreen"
        when: windowShown

        function test_showsTitleViewAndButtons() {
            const title = Finder.text(screen, "Previewing USDZ")
            verify(title, "title")
            compare(title.font.pixelSize, 14)
            compare(title.font.weight, Font.DemiBold)

            compare(Finder.button(screen, "Save USDZ").symbol, "square.and.arrow.down.fill")
            const discard = Finder.button(screen, "Discard")
            verify(discard, "discard button")
            compare(discard.pixelSize, 13)
        }

        function test_viewNeverShorterThan200AndFillsTheRest() {
            verify(screen.viewport.height >= 200)
            compare(screen.viewport.width, screen.width)
            screen.parent.height = 600
            tryVerify(() => screen.viewport.height > 400)
            screen.parent.height = 320
        }

        function test_buttonsAskToSaveOrDiscard() {
            mouseClick(Finder.button(screen, "Save USDZ"))
            compare(saveSpy.count, 1)
            mouseClick(Finder.button(screen, "Discard"))
            compare(discardSpy.count, 1)
        }
    }
}
