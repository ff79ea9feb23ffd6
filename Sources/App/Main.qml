import QtQuick
import QtQuick.Controls
import Tessmark.Design

ApplicationWindow {
    id: window

    width: 960
    height: 640
    // The three columns at their narrowest (sidebar 200, list 300, detail 360 from 900 points on)
    // fit; a sheet taller than the window's room shrinks to it and scrolls.
    minimumWidth: 900
    minimumHeight: 600
    visible: true
    title: "Tessmark"
    color: AppTheme.background
    // Stock controls use the bundled interface font as well.
    font: Typography.font(Typography.Body)

    // Stock controls take the theme's colours too, in light and dark.
    palette {
        window: AppTheme.background
        windowText: AppTheme.deepBlack
        base: AppTheme.fieldBackground
        alternateBase: AppTheme.cardBackground
        text: AppTheme.deepBlack
        button: AppTheme.cardBackground
        buttonText: AppTheme.deepBlack
        brightText: AppTheme.background
        highlight: AppTheme.accent
        highlightedText: AppTheme.background
        placeholderText: AppTheme.textSecondary
        mid: AppTheme.border
        midlight: AppTheme.border
        dark: AppTheme.border
        light: AppTheme.cardBackground
        shadow: AppTheme.cardShadow
        toolTipBase: AppTheme.cardBackground
        toolTipText: AppTheme.deepBlack
    }

    // Unsaved edits are asked about, and a running save is waited for, before the window goes.
    onClosing: close => close.accepted = rootView.requestClose()

    RootView {
        id: rootView
        objectName: "rootView"
        anchors.fill: parent
        onActivationRequested: {
            window.raise()
            window.requestActivate()
        }
        onCloseApproved: window.close()
    }

    KeyboardFocusInView {}
    ButtonReturnKey {}
}
