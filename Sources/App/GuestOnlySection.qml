pragma ComponentBehavior: Bound

import QtQuick
import QtQuick.Controls
import Tessmark.Design
import Tessmark.App

// What a guest sees in place of a section that needs an account.
ScrollView {
    id: section

    required property string title
    required property string message
    required property MainOnboardingController tour
    // The tour target this placeholder stands for.
    required property string highlight

    contentWidth: availableWidth
    ScrollBar.vertical.policy: ScrollBar.AsNeeded
    ScrollBar.vertical.Accessible.name: "Прокрутка: " + section.title
    background: Rectangle { color: AppTheme.background }

    Item {
        width: section.availableWidth
        implicitHeight: Math.max(column.implicitHeight + 2 * section.AdaptiveMetrics.placeholderPadding,
                                 section.availableHeight)

        Item {
            id: column
            readonly property real cap: section.AdaptiveMetrics.placeholderMaxWidth
            readonly property real available: parent.width - 2 * section.AdaptiveMetrics.placeholderPadding
            x: section.AdaptiveMetrics.placeholderPadding + Math.max(0, (available - width) / 2)
            y: section.AdaptiveMetrics.placeholderPadding
            width: cap < 0 ? available : Math.min(available, cap)
            implicitHeight: stack.implicitHeight
            OnboardingSpotlight.active: section.tour.running && section.tour.currentHighlight === section.highlight
            OnboardingSpotlight.highlight: section.highlight

            Column {
                id: stack
                width: parent.width
                spacing: 16

                EmptyStateView {
                    width: parent.width
                    title: section.title
                    systemImage: "icloud.slash"
                    description: section.message
                }

                Column {
                    width: parent.width
                    spacing: 4

                    Text {
                        width: parent.width
                        Accessible.role: Accessible.StaticText
                        Accessible.name: text
                        text: "Личный аккаунт"
                        font: Typography.font(Typography.Headline)
                        color: AppTheme.primary
                        wrapMode: Text.WordWrap
                    }
                    Text {
                        width: parent.width
                        Accessible.role: Accessible.StaticText
                        Accessible.name: text
                        text: "Войдите в настройках, чтобы включить облако, платежи и аналитику."
                        font: Typography.font(Typography.Subheadline)
                        color: AppTheme.textSecondary
                        wrapMode: Text.WordWrap
                    }
                }
            }
        }
    }
}
