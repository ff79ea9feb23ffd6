import QtQuick
import Tessmark.Design

// An error told in words (a failed request, a field's problem): read as an alert named by its
// text, which a screen reader speaks as it shows.
Text {
    textFormat: Text.PlainText
    wrapMode: Text.Wrap
    color: AppTheme.error
    Accessible.role: Accessible.AlertMessage
    Accessible.name: text
}
