import QtQuick
import QtQuick.Controls
import QtQuick.Layouts
import Tessmark.Design
import Tessmark.Features.Onboarding

// The tour's layer over the main window: the dimmed scrim with a hole around the lit element,
// and the card of the current step.
Item {
    id: overlay

    // The host's step; changes come back through stepRequested.
    required property int step
    // Window rectangle of the lit element, when there is one.
    required property bool hasHighlightRect
    required property rect highlightRect
    property alias dontShowAgain: overlayModel.dontShowAgain
    // False once the host closed the tour for this run.
    property bool running: true
    readonly property alias model: overlayModel

    signal stepRequested(int newStep)
    signal closeRequested()

    visible: opacity > 0
    opacity: overlayModel.shown && overlay.running ? 1 : 0
    // The keyboard works the card while it is shown: its main button takes the focus, with its
    // ring, on every step, and Tab runs round the card's own controls, never to the window under
    // the scrim.
    onStepChanged: if (content.item) content.item.focusNext()
    // The card took the focus with it: the window's first stop has it next.
    onVisibleChanged: if (!visible) Qt.callLater(overlay.giveFocusBack)
    Behavior on opacity { NumberAnimation { duration: 200 } }

    function giveFocusBack() {
        const window = overlay.Window.window
        if (overlay.visible || !window || (window.activeFocusItem && window.activeFocusItem !== window.contentItem))
            return
        const first = window.contentItem.nextItemInFocusChain(true)
        if (first)
            first.forceActiveFocus(Qt.TabFocusReason)
    }

    // The card's secondary buttons: bordered, as tall as the main one.
    component BorderedButton: Button {
        id: bordered
        leftPadding: 14
        rightPadding: 14
        topPadding: 12
        bottomPadding: 12
        font: Typography.font(Typography.Body, Font.Medium)
        contentItem: Text {
            text: bordered.text
            font: bordered.font
            color: AppTheme.deepBlack
            opacity: bordered.enabled ? 1 : 0.4
            horizontalAlignment: Text.AlignHCenter
            verticalAlignment: Text.AlignVCenter
        }
        background: Rectangle {
            radius: 10
            color: bordered.down ? AppTheme.border : AppTheme.cardBackground
            border.width: 1
            border.color: AppTheme.border
        }

        FocusRing {
            radius: 13
        }
    }

    MainOnboardingOverlayModel {
        id: overlayModel
        step: overlay.step
        onStepRequested: newStep => overlay.stepRequested(newStep)
        onCloseRequested: overlay.closeRequested()
    }

    // The scrim and the card exist while the tour shows: most windows never show it.
    Loader {
        id: content

        anchors.fill: parent
        active: overlay.visible
        onLoaded: item.focusNext()

        sourceComponent: Item {
            function focusNext() {
                nextButton.forceActiveFocus(Qt.TabFocusReason)
            }

            OnboardingScrim {
                anchors.fill: parent
                cutoutInGlobal: overlay.hasHighlightRect ? overlay.highlightRect : undefined
                opacity: 0.4
            }

            Rectangle {
                id: card
                objectName: "onboardingCard"
                // A reader hears a dialog named by the step's title, with its text and place.
                Accessible.role: Accessible.Dialog
                Accessible.name: overlayModel.title
                Accessible.description: overlayModel.spokenDescription
                AccessibleState.modal: true
                // Escape skips the tour, before any shortcut of the window under it.
                Keys.onShortcutOverride: event => event.accepted = event.key === Qt.Key_Escape
                Keys.onEscapePressed: overlayModel.skip()
                // Beside the lit element, never over it.
                readonly property rect frame: overlayModel.cardFrame(
                    overlay.hasHighlightRect, overlay.mapFromItem(null, overlay.highlightRect),
                    Qt.size(width, height), Qt.size(overlay.width, overlay.height))
                x: frame.x
                y: frame.y
                width: Math.min(420, overlay.width - 40)
                height: cardColumn.implicitHeight + 40
                radius: AppTheme.cornerRadiusLarge
                color: AppTheme.cardBackground

                BoxShadow {
                    anchors.fill: parent
                    anchors.margins: -margin
                    z: -1
                    radius: parent.radius
                    blur: 20
                    offsetY: 8
                    color: Qt.rgba(0, 0, 0, 0.18)
                }

                ColumnLayout {
                    id: cardColumn
                    anchors.fill: parent
                    anchors.margins: 20
                    spacing: 14

                    Text {
                        text: overlayModel.badge
                        font: Typography.font(Typography.Caption, Font.DemiBold)
                        color: AppTheme.accent
                    }
                    Text {
                        Layout.fillWidth: true
                        text: overlayModel.title
                        font: Typography.font(Typography.Title3, Font.Bold)
                        color: AppTheme.deepBlack
                        wrapMode: Text.WordWrap
                    }
                    Text {
                        objectName: "onboardingBody"
                        Layout.fillWidth: true
                        text: overlayModel.body
                        font: Typography.font(Typography.Subheadline)
                        color: AppTheme.textSecondary
                        wrapMode: Text.WordWrap
                    }
                    Row {
                        Layout.topMargin: 4
                        spacing: 6
                        Repeater {
                            id: dots

                            model: overlayModel.stepCount
                            // Pressed by the pointer or a reader: the keyboard has the buttons.
                            AbstractButton {
                                required property int index
                                objectName: "onboardingDot-" + index
                                width: 8
                                height: 8
                                focusPolicy: Qt.NoFocus
                                Accessible.name: overlayModel.dotName(index)
                                onClicked: overlayModel.goTo(index)
                                background: Rectangle {
                                    radius: 4
                                    color: index === overlayModel.currentIndex
                                           ? AppTheme.accent : AppTheme.withOpacity(AppTheme.textSecondary, 0.25)
                                }
                            }
                        }
                    }
                    AppToggle {
                        id: dontShowAgainToggle

                        objectName: "onboardingDontShowAgain"
                        KeyNavigation.backtab: nextButton
                        Layout.fillWidth: true
                        text: "Не показывать это знакомство снова"
                        checked: overlayModel.dontShowAgain
                        onToggled: overlayModel.dontShowAgain = checked
                    }
                    RowLayout {
                        Layout.fillWidth: true
                        spacing: 10
                        BorderedButton {
                            objectName: "onboardingBack"
                            text: "Назад"
                            enabled: overlayModel.canGoBack
                            onClicked: overlayModel.back()
                        }
                        BorderedButton {
                            objectName: "onboardingSkip"
                            text: "Пропустить"
                            onClicked: overlayModel.skip()
                        }
                        Item { Layout.fillWidth: true }
                        PrimaryButton {
                            id: nextButton

                            objectName: "onboardingNext"
                            KeyNavigation.tab: dontShowAgainToggle
                            Layout.fillWidth: false
                            text: overlayModel.isLast ? "Готово" : "Далее"
                            onClicked: overlayModel.isLast ? overlayModel.done() : overlayModel.next()
                        }
                    }
                }
            }
        }
    }
}
