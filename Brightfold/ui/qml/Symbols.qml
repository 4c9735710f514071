pragma Singleton
import QtQuick

// Every symbol the window shows, by name, with the glyph of the Material Icons font that
// pictures it. The only place that knows the font's code points.
QtObject {
    readonly property string fontFamily: "Material Icons"

    readonly property var glyphs: ({
        "arkit": "\ue9fe",                          // view_in_ar
        "magnifyingglass": "\ue8b6",                // search
        "arrow.triangle.2.circlepath": "\ue627",    // sync
        "square.and.arrow.down.fill": "\uf090",     // download
        "checkmark.seal.fill": "\uef76",            // verified
        "cube.fill": "\ue1a1",                      // inventory_2
        "folder.fill": "\ue2c7",                    // folder
        "exclamationmark.triangle.fill": "\ue002",  // warning
        "arrow.counterclockwise": "\ue042",         // replay
        "window.menu": "\ue5d2",                    // menu
        "window.minimise": "\ue931",                // minimize
        "window.close": "\ue5cd"                    // close
    })

    // The glyph for a symbol name; empty for a name the table lacks.
    function glyph(name) {
        return glyphs[name] ?? ""
    }
}
