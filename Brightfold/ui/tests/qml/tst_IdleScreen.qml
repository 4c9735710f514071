import QtQuick
import QtTest
import Brightfold.Ui
import "Finder.js" as Finder

Item {
    width: 460
    height: 400

    IdleScreen {
        id: screen
        anchors.fill: parent
    }

    SignalSpy {
        id: chooseSpy
        target: screen
        signalName: "chooseFileRequested"
    }

    TestCase {
        name: "IdleScreen"
        when: windowShown

        function test_showsPromptIconAndOpenButton() {
            const prompt = Finder.text(screen, "Drag & Drop 3D file here\n(.usdc, .usd, .gltf, .glb, .vrm)")
            verify(prompt, "prompt")
            compare(prompt.lineCount, 2)
            compare(prompt.horizontalAlignment, Text.AlignHCenter)
            compare(prompt.font.pixelSize, 16)
            compare(prompt.font.weight, Font.Medium)

            compare(screen.icon.name, "arkit")
            compare(screen.icon.size, 75)
            compare(screen.icon.weight, Font.Light)
            verify(screen.icon.glyph.length > 0)

            const open = Finder.button(screen, "Select from Finder")
            verify(open, "open button")
            compare(open.symbol, "magnifyingglass")
            compare(open.Accessible.name, "Select from Finder")
        }

        function test_openButtonAsksForTheOpenPanel() {
            mouseClick(Finder.button(screen, "Select from Finder"))
            compare(chooseSpy.count, 1)
        }

        function test_iconGrowsWithTheGlow() {
            screen.glow = 1
            compare(screen.icon.scale, 1.1)
            screen.glow = 0
            compare(screen.icon.scale, 1)
        }
    }
}
