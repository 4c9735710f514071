import QtQuick

// Text shown exactly as given (never read as markup), line by line, centred, and wrapped
// only where a line is wider than the card.
Text {
    anchors.horizontalCenter: parent.horizontalCenter
    width: Math.min(implicitWidth, parent.width)
    textFormat: Text.PlainText
    wrapMode: Text.Wrap
    horizontalAlignment: Text.AlignHCenter
    font.pixelSize: 13
    color: Theme.white
}
