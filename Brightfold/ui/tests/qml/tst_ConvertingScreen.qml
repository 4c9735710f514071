import QtQuick
import QtTest
import Brightfold.Ui
import "Finder.js" as Finder

Item {
    width: 460
    height: 400

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
