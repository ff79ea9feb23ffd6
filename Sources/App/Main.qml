import QtQuick
import QtQuick.Controls
import Tessmark.Design

ApplicationWindow {
    id: window

    width: 960
    height: 640
    visible: true
    title: "Tessmark"
    color: AppTheme.background

    RootView {
        anchors.fill: parent
        onActivationRequested: {
            window.raise()
            window.requestActivate()
        }
    }
}
