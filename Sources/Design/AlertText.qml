import QtQuick
import Tessmark.Design

// An error told in words (a failed request, a field's problem), or an outcome a person waits for
// (a changed password, in its own colour): read as an alert named by its text, which a screen
// reader speaks as it shows. Its owner says when it is `shown` (not
// `visible`): it shows only once it has its words, named by them first, as the text and the
// owner's condition may change in either order, and an alert that showed empty is spoken empty.
Text {
    id: alert

    property bool shown: true
    // Set after the name, so that the alert never shows ahead of it.
    property bool hasWords: false

    function takeText() {
        alert.Accessible.name = alert.text
        alert.hasWords = alert.text !== ""
    }

    visible: shown && hasWords
    textFormat: Text.PlainText
    wrapMode: Text.Wrap
    color: AppTheme.error
    Accessible.role: Accessible.AlertMessage
    onTextChanged: takeText()
    Component.onCompleted: takeText()
}
