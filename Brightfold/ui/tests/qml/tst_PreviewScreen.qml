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
    SignalSpy {
        id: makeReadySpy
        target: screen
        signalName: "makeARReadyRequested"
    }
    SignalSpy {
        id: clipSpy
        target: screen
        signalName: "clipChosen"
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

        function test_theVerdictLineShowsAndOpensTheNotes() {
            compare(screen.verdictLine.visible, false, "no verdict, no line")
            screen.verdict = "Ready for AR Quick Look"
            screen.readyForAR = true
            verify(Finder.button(screen, "Ready for AR Quick Look"), "the ready line")
            compare(screen.verdictLine.textColor, Theme.withOpacity(Theme.green, 0.9))

            screen.verdict = "2 problems for AR Quick Look"
            screen.readyForAR = false
            screen.notes = ["AR Quick Look's rules: /Model/Sun: a light", "Over the budget"]
            compare(screen.verdictLine.textColor, Theme.withOpacity(Theme.orange, 0.9))
            mouseClick(screen.verdictLine)
            tryVerify(() => screen.notesPanel.visible)
            screen.notesPanel.close()
            tryVerify(() => !screen.notesPanel.visible)
            screen.notes = []
            screen.verdict = ""
        }

        function test_aViewedPackageThatFailsOffersToBeMadeARReady() {
            screen.viewOnly = true
            compare(Finder.button(screen, "Make AR-ready").visible, false)
            screen.canMakeARReady = true
            const makeReady = Finder.button(screen, "Make AR-ready")
            tryVerify(() => makeReady.visible && makeReady.width > 0 && makeReady.x >= 0)
            waitForRendering(screen)
            mouseClick(makeReady)
            compare(makeReadySpy.count, 1)
            screen.canMakeARReady = false
            screen.viewOnly = false
        }

    }
    SignalSpy {
        function test_aClipIsOfferedOnlyWhenTheModelHasSeveral() {
            screen.animationClips = ["Survey"]
            screen.playedClip = 0
            verify(!screen.clipChooser.visible)
            screen.animationClips = ["Survey", "Walk", "Run"]
            verify(screen.clipChooser.visible)
            compare(screen.clipChooser.text, "Animation: Survey  \u25be")
            screen.viewOnly = true
            verify(!screen.clipChooser.visible, "a viewed package is not converted")
            screen.viewOnly = false
        }

        function test_choosingAnotherClipAsksForItAndThePlayedOneDoesNot() {
            screen.animationClips = ["Survey", "Walk", "Run"]
            screen.playedClip = 0
            mouseClick(screen.clipChooser)
            const menu = screen.clipChooser.menu
            tryVerify(() => menu.opened)
            compare(menu.count, 3)
            verify(menu.itemAt(0).checked)
            compare(menu.itemAt(2).text, "Run")
            menu.itemAt(2).triggered()
            compare(clipSpy.count, 1)
            compare(clipSpy.signalArguments[0][0], 2)
            menu.itemAt(0).triggered()
            compare(clipSpy.count, 1)
            menu.close()
            screen.animationClips = []
        }

        function test_buttonsAskToSaveOrDiscard() {
            mouseClick(Finder.button(screen, "Save USDZ"))
            compare(saveSpy.count, 1)
            mouseClick(Finder.button(screen, "Discard"))
            compare(discardSpy.count, 1)
        }
    }
}
