pragma ComponentBehavior: Bound

import QtQuick
import QtQuick.Controls
import QtQuick.Layouts
import Tessmark.Design

// One estimate line: category colour, title, lock, badge, cost, hours, description and rate.
// Pressing it (or Enter/Space while focused) asks to edit it; a full swipe to the left, the
// swipe's "Удалить" or the Delete key asks to delete it; the Menu key or Shift+F10 asks for its
// menu. The grip at the left, shown while the card is hovered or focused, drags it: the card
// follows the pointer one to one, in the list's content, so that it stays under the pointer while
// the list scrolls beneath it. While another card is dragged, this one is drawn `gapShift` off
// its place, to open the gap the dragged one lands in.
SwipeDelegate {
    id: card

    required property int index
    required property string lineId
    required property string shownTitle
    required property string description
    required property string category
    required property bool isLocked
    required property string costText
    required property string hoursText
    required property string rateText
    required property string spokenText

    readonly property color tint: CategoryTheme.color(category, AppTheme.dark)
    // The vertical shift while the grip is dragged.
    property real dragOffset: 0
    // The vertical shift while another card is dragged past this one.
    property real gapShift: 0
    readonly property bool dragging: grip.pressed
    // The pointer in the scene, and where it pressed in the list's content.
    property real pointerSceneY: 0
    property real pressContentY: 0

    function contentY(sceneY) {
        return card.parent ? card.parent.mapFromItem(null, 0, sceneY).y : sceneY
    }
    // Puts the card under the pointer again; the list calls it as it scrolls.
    function followPointer() {
        if (!card.dragging)
            return
        card.dragOffset = card.contentY(card.pointerSceneY) - card.pressContentY
        card.dragMoved(card.y + card.height / 2 + card.dragOffset)
    }

    signal editRequested()
    // From the Delete key, or from a swipe.
    signal deleteRequested()
    signal menuRequested()
    // The grip pressed; the card's centre moved to centerY in the list's content; the grip
    // released (dropped) or taken away (dragCanceled).
    signal dragStarted()
    signal dragMoved(real centerY)
    signal dropped()
    signal dragCanceled()

    // The one line Tab enters the list at (the list's order of rows is not the lines' order);
    // Tab and Shift+Tab then run from line to line.
    property bool tabStop: true

    objectName: "lineCard-" + index
    padding: 0
    focusPolicy: tabStop ? Qt.StrongFocus : Qt.ClickFocus
    // The grip shows under the pointer, whatever the platform's hover default.
    hoverEnabled: true
    Accessible.name: shownTitle
    // What the card shows beside the title, in the order it is drawn.
    Accessible.description: spokenText
    z: dragging ? 2 : 0

    onClicked: card.editRequested()
    // A line reached by the keyboard comes into view, so that Delete never acts on one unseen.
    onActiveFocusChanged: {
        if (activeFocus && ListView.view)
            ListView.view.positionViewAtIndex(index, ListView.Contain)
    }
    // A row the list reuses takes its own height after it was placed, and rows brought in above
    // shift it: the line the keyboard is on is placed again. A scroll by the user changes neither.
    function keepInView() {
        if (card.visualFocus && ListView.view)
            ListView.view.positionViewAtIndex(index, ListView.Contain)
    }
    onYChanged: if (visualFocus) Qt.callLater(card.keepInView)
    onHeightChanged: if (visualFocus) Qt.callLater(card.keepInView)
    // Tab runs down the lines in their order, and past the first or the last line on to what
    // stands before or after the list.
    function tabAlong(event, step) {
        const view = ListView.view
        const reason = step > 0 ? Qt.TabFocusReason : Qt.BacktabFocusReason
        const target = card.index + step
        let next = null
        if (view && target >= 0 && target < view.count) {
            next = view.itemAtIndex(target)
            if (!next) {
                view.positionViewAtIndex(target, ListView.Contain)
                next = view.itemAtIndex(target)
            }
        } else {
            next = card.nextItemInFocusChain(step > 0)
            for (let i = 0; next && next !== card && next.parent === card.parent && i < 1000; ++i)
                next = next.nextItemInFocusChain(step > 0)
        }
        if (next && next !== card) {
            event.accepted = true
            next.forceActiveFocus(reason)
        }
    }
    Keys.onTabPressed: event => card.tabAlong(event, 1)
    Keys.onBacktabPressed: event => card.tabAlong(event, -1)
    Keys.onReturnPressed: card.editRequested()
    Keys.onEnterPressed: card.editRequested()
    Keys.onSpacePressed: card.editRequested()
    Keys.onDeletePressed: card.deleteRequested()
    Keys.onMenuPressed: card.menuRequested()
    Keys.onPressed: event => {
        if (event.key === Qt.Key_F10 && (event.modifiers & Qt.ShiftModifier)) {
            event.accepted = true
            card.menuRequested()
        }
    }
    swipe.onCompleted: card.deleteRequested()
    // The gap's shift stays bound to the drag: a card taken back from the pool steps aside too.
    ListView.onPooled: {
        swipe.close()
        dragOffset = 0
    }

    swipe.right: Rectangle {
        width: Math.min(96, card.width)
        height: card.height
        anchors.right: parent.right
        radius: 12
        color: AppTheme.error

        Column {
            anchors.centerIn: parent
            spacing: 2
            AppIcon {
                anchors.horizontalCenter: parent.horizontalCenter
                name: "trash"
                color: AppTheme.dark ? AppTheme.background : "white"
            }
            Text {
                text: "Удалить"
                color: AppTheme.dark ? AppTheme.background : "white"
                font: Typography.font(Typography.Caption, Font.DemiBold)
            }
        }
        TapHandler {
            onTapped: card.deleteRequested()
        }
    }

    background: Item {}


    contentItem: Item {
        implicitHeight: body.implicitHeight + 24
        transform: Translate { y: card.dragOffset + card.gapShift }

        Rectangle {
            anchors.fill: parent
            radius: 12
            color: Qt.tint(AppTheme.cardBackground, AppTheme.withOpacity(card.tint, 0.12))
            border.width: 1
            border.color: AppTheme.withOpacity(card.tint, 0.25)
        }
        // Over the card's own edge: the list clips what lies outside it.
        FocusRing {
            anchors.margins: 0
            radius: 12
            shown: card.visualFocus
        }

        RowLayout {
            id: body
            anchors.fill: parent
            anchors.margins: 12
            spacing: 12

            Rectangle {
                Layout.fillHeight: true
                Layout.topMargin: 2
                Layout.bottomMargin: 2
                implicitWidth: 4
                radius: 3
                color: card.tint
            }

            // The grip: drag the card up or down within its section.
            Item {
                Layout.fillHeight: true
                Layout.leftMargin: -8
                implicitWidth: 20

                AppIcon {
                    objectName: "lineGripIcon"
                    anchors.centerIn: parent
                    name: "line.3.horizontal"
                    size: 18
                    color: AppTheme.textSecondary
                    visible: card.hovered || card.activeFocus || card.dragging
                }
                MouseArea {
                    id: grip
                    objectName: "lineGrip"
                    anchors.fill: parent
                    anchors.margins: -4
                    cursorShape: pressed ? Qt.ClosedHandCursor : Qt.OpenHandCursor
                    preventStealing: true
                    onPressed: mouse => {
                        card.pointerSceneY = mapToItem(null, mouse.x, mouse.y).y
                        card.pressContentY = card.contentY(card.pointerSceneY)
                        card.dragOffset = 0
                        card.dragStarted()
                    }
                    onPositionChanged: mouse => {
                        card.pointerSceneY = mapToItem(null, mouse.x, mouse.y).y
                        card.followPointer()
                    }
                    onReleased: {
                        card.dragOffset = 0
                        card.dropped()
                    }
                    onCanceled: {
                        card.dragOffset = 0
                        card.dragCanceled()
                    }
                }
            }

            ColumnLayout {
                Layout.fillWidth: true
                Layout.alignment: Qt.AlignTop
                spacing: 8

                RowLayout {
                    Layout.fillWidth: true
                    spacing: 8

                    ColumnLayout {
                        Layout.fillWidth: true
                        Layout.alignment: Qt.AlignTop
                        spacing: 4

                        RowLayout {
                            Layout.fillWidth: true
                            spacing: 6
                            Text {
                                objectName: "lineTitle"
                                // Only as wide as the title, so that the lock follows it.
                                Layout.preferredWidth: Math.ceil(titleWidth.advanceWidth) + 1
                                Layout.fillWidth: true
                                Layout.maximumWidth: Layout.preferredWidth
                                text: card.shownTitle
                                textFormat: Text.PlainText
                                wrapMode: Text.Wrap
                                color: AppTheme.deepBlack
                                font: Typography.font(Typography.Subheadline, Font.DemiBold)
                            }
                            TextMetrics {
                                id: titleWidth
                                text: card.shownTitle
                                font: Typography.font(Typography.Subheadline, Font.DemiBold)
                            }
                            AppIcon {
                                objectName: "lineLock"
                                visible: card.isLocked
                                name: "lock.fill"
                                size: 11
                                color: AppTheme.textSecondary
                            }
                            Item {
                                Layout.fillWidth: true
                            }
                        }
                        CategoryBadge {
                            categoryId: card.category
                            surfaceTint: 0.12
                        }
                    }

                    // Figures of hundreds of digits take a third of the row at most, with an ellipsis.
                    ColumnLayout {
                        id: figures
                        Layout.alignment: Qt.AlignTop | Qt.AlignRight
                        Layout.maximumWidth: 160
                        spacing: 2
                        Text {
                            objectName: "lineCost"
                            Layout.alignment: Qt.AlignRight
                            Layout.maximumWidth: figures.Layout.maximumWidth
                            elide: Text.ElideRight
                            text: card.costText
                            textFormat: Text.PlainText
                            color: AppTheme.primary
                            font: Typography.font(Typography.Subheadline, Font.Bold)
                        }
                        Text {
                            objectName: "lineHours"
                            Layout.alignment: Qt.AlignRight
                            Layout.maximumWidth: figures.Layout.maximumWidth
                            elide: Text.ElideRight
                            text: card.hoursText
                            textFormat: Text.PlainText
                            color: AppTheme.textSecondary
                            font: Typography.font(Typography.Caption)
                        }
                    }
                }

                Text {
                    Layout.fillWidth: true
                    visible: card.description !== ""
                    text: card.description
                    textFormat: Text.PlainText
                    wrapMode: Text.Wrap
                    maximumLineCount: 2
                    elide: Text.ElideRight
                    color: AppTheme.textSecondary
                    font: Typography.font(Typography.Caption)
                }

                // A rate of hundreds of digits leaves room for "/ час", with an ellipsis.
                RowLayout {
                    Layout.fillWidth: true
                    spacing: 6
                    Text {
                        objectName: "lineRate"
                        Layout.fillWidth: true
                        Layout.maximumWidth: Math.ceil(implicitWidth)
                        text: card.rateText
                        textFormat: Text.PlainText
                        elide: Text.ElideRight
                        color: AppTheme.textSecondary
                        font: Typography.font(Typography.Caption2)
                    }
                    Text {
                        text: "/ час"
                        color: AppTheme.textSecondary
                        font: Typography.font(Typography.Caption2)
                    }
                    Item {
                        Layout.fillWidth: true
                    }
                }
            }
        }
    }
}
