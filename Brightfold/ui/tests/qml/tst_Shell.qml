import QtQuick
import QtQuick.Controls
import QtTest
import Brightfold.Ui
import "Finder.js" as Finder

Item {
    width: 560
    height: 520

    HelpMenu {
        id: menu
    }

    AboutDialog {
        id: about
    }

    GlassButton {
        id: glassButton
        text: "Try Again"
        symbol: "arrow.counterclockwise"
    }

    Component {
        id: signalSpyComponent
        SignalSpy {
            target: menu
            signalName: "profileChosen"
        }
    }

    TestCase {
        name: "Shell"
        when: windowShown

        function test_menuListsTheProfilesAboutThenTheHelpItemsInOrder() {
            const expected = ["Packages for AR Quick Look", "Packages for USD Tools (Lights, Curves)",
                              "", "About Brightfold", "", "How to use Brightfold",
                              "Supported 3D Formats", "Browser-based AR", "", "Report an Issue"]
            compare(menu.count, expected.length)
            for (let i = 0; i < expected.length; ++i) {
                const item = menu.itemAt(i)
                if (expected[i] === "")
                    verify(item instanceof MenuSeparator, "separator at " + i)
                else
                    compare(item.text, expected[i])
            }
        }

        function test_theProfilesAreOneChoiceAndSayWhichWasChosen() {
            const spy = createTemporaryObject(signalSpyComponent, menu)
            compare(menu.itemAt(0).checked, true, "AR Quick Look by default")
            compare(menu.itemAt(1).checked, false)
            menu.itemAt(1).action.trigger()
            compare(spy.count, 1)
            compare(spy.signalArguments[0][0], true)
            menu.forUsdTools = true
            compare(menu.itemAt(0).checked, false)
            compare(menu.itemAt(1).checked, true)
            menu.forUsdTools = false
        }

        function test_everySymbolNameHasItsOwnGlyph() {
            const names = ["arkit", "magnifyingglass", "arrow.triangle.2.circlepath",
                           "square.and.arrow.down.fill", "checkmark.seal.fill", "cube.fill",
                           "folder.fill", "exclamationmark.triangle.fill", "arrow.counterclockwise"]
            const seen = {}
            for (const name of names) {
                const glyph = Symbols.glyph(name)
                compare(glyph.length, 1, name)
                verify(!(glyph in seen), name + " shares a glyph with " + seen[glyph])
                seen[glyph] = name
            }
            compare(Symbols.glyph("no.such.symbol"), "")
        }

        function test_aboutShowsNameVersionCreditsAndLink() {
            about.open()
            tryVerify(() => about.opened)
            verify(Finder.text(about.contentItem, "Brightfold"))
            verify(Finder.text(about.contentItem, "Version 1.0"))
            verify(Finder.find(about.contentItem,
                               item => String(item.text).startsWith("A lightning-fast 3D conversion widget.\n\n")))
            const link = Finder.button(about.contentItem, "Visit Varlo, Inc.")
            verify(link)
            compare(link.textColor, Theme.blue)
            compare(link.weight, Font.DemiBold)
            compare(link.pixelSize, 12)
            about.close()
        }

        function test_glassButtonIsACapsuleWithPadding() {
            compare(glassButton.leftPadding, 16)
            compare(glassButton.rightPadding, 16)
            compare(glassButton.topPadding, 8)
            compare(glassButton.bottomPadding, 8)
            compare(glassButton.background.radius, glassButton.height / 2)
            compare(glassButton.Accessible.name, "Try Again")
            verify(glassButton.focusPolicy & Qt.TabFocus)
        }
    }
}
