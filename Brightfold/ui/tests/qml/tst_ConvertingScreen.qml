import QtQuick
import QtTest
import Brightfold.Ui
import Brightfold.Preview
import "Finder.js" as Finder

Item {
    id: root
    width: 460
    height: 400

    property int framesDrawn: 0
    property int iconSteps: 0

    Connections {
        target: root.Window.window
        function onFrameSwapped() { root.framesDrawn++ }
    }
    Connections {
        target: screen.icon
        function onRotationChanged() { root.iconSteps++ }
    }

    ConvertingScreen {
        id: screen
        anchors.fill: parent
    }

    TestCase {
        name: "ConvertingScreen"
        when: windowShown

        function fillSettlesAt(progress, width) {
            screen.progress = progress
            tryVerify(() => Math.abs(screen.progressTrack.fillWidth - width) < 0.01, 2000,
                      "fill width for progress " + progress)
        }

        function test_showsLabelAndSpinningIcon() {
            const label = Finder.text(screen, "Compiling USDZ...")
            verify(label, "label")
            compare(label.font.pixelSize, 15)
            compare(screen.icon.name, "arrow.triangle.2.circlepath")
            compare(screen.icon.size, 50)
            const before = screen.icon.rotation
            tryVerify(() => screen.icon.rotation !== before, 2000, "the icon turns")
        }

        // Each frame drawn in software takes the processor from the conversion: the symbol steps
        // and the fill jumps to each new progress, one frame for each at most, however fast or
        // slowly the machine draws.
        function test_drawsOneFrameForEachStepInSoftware() {
            if (!Renderer.software)
                skip("drawn by a GPU, the screen animates smoothly")
            root.framesDrawn = 0
            root.iconSteps = 0
            const progressChanges = 4
            for (let step = 1; step <= progressChanges; ++step) {
                screen.progress = step / progressChanges
                tryVerify(() => root.iconSteps >= 2 * step, 10000, "the icon steps")
            }
            // One frame may still be on its way when the counting starts.
            verify(root.framesDrawn >= 1 && root.framesDrawn <= root.iconSteps + progressChanges + 1,
                   root.framesDrawn + " frames for " + root.iconSteps + " steps")
            screen.progress = 0
        }

        function test_fillWidthFollowsProgress() {
            compare(screen.progressTrack.width, 300)
            compare(screen.progressTrack.height, 8)
            fillSettlesAt(0.5, 150)
            fillSettlesAt(1, 300)
            fillSettlesAt(0, 0)
        }

        function test_outOfRangeProgressStaysInsideTheTrack() {
            fillSettlesAt(1.7, 300)
            fillSettlesAt(-0.2, 0)
            fillSettlesAt(NaN, 0)
        }
    }
}
