import QtQuick
import QtQuick.Templates as T
import Tessmark.Design

// Equal segments on a track, the chosen one raised. `options` is a list of {value, label} with
// an optional `icon`; a press emits `activated(value)` and writes it to `selection` unless the
// owner already has.
Rectangle {
    id: root

    property var options: []
    property var selection
    // Off, none of the segments is a Tab stop (a row of a list that Tab enters at another row);
    // the focused one stays one until it loses the focus.
    property bool inTabChain: true
    // Items that see a segment's keys before it does: an owner that leads Tab along an order of
    // its own takes Tab and Shift+Tab there.
    property list<Item> keysFirstTo

    signal activated(var value)

    function choose(value) {
        activated(value)
        if (selection !== value)
            selection = value
    }

    // The segment Tab stops at: the chosen one, else the first.
    function tabStop() {
        return choices.tabStop()
    }

    // Every segment as wide as the widest label needs, so that they can all be equal.
    property real widestSegment: 0
    // The labels' own widths together, for the stacked look.
    property real labelsWidth: 0
    function measure() {
        let widest = 0
        let labels = 0
        for (let i = 0; i < segments.count; ++i) {
            const segment = segments.itemAt(i)
            if (segment) {
                widest = Math.max(widest, segment.implicitWidth)
                labels += segment.labelWidth
            }
        }
        widestSegment = widest
        labelsWidth = labels
    }

    // Narrower than every segment needs on one line: each icon goes above its label, and each
    // segment takes a share of the width after its label, so that a long label keeps to one line
    // where the labels fit side by side; otherwise it wraps.
    // Kept by hand: the stacked look changes the height, and a layout answers that with a new width.
    property bool stacked: false
    function restack() {
        const narrow = width > 0 && width < implicitWidth
        if (narrow !== stacked)
            stacked = narrow
    }
    onWidthChanged: restack()
    onImplicitWidthChanged: restack()

    // One Tab stop; the arrow keys move the choice.
    ChoiceGroup {
        id: choices
        repeater: segments
    }

    implicitWidth: widestSegment * segments.count + row.spacing * Math.max(0, segments.count - 1) + 8
    implicitHeight: row.implicitHeight + 8
    radius: 10
    color: AppTheme.fieldBackground

    Row {
        id: row

        anchors.fill: parent
        anchors.margins: 4
        spacing: 4

        Repeater {
            id: segments

            model: root.options
            onCountChanged: root.measure()

            // Radio buttons, so that readers hear a choice and its checked state.
            T.RadioButton {
                id: segment

                required property var modelData
                required property int index
                readonly property bool chosen: modelData.value === root.selection

                // The label on one line, and the padding around it.
                readonly property real labelWidth: Math.ceil(small.advanceWidth) + leftPadding + rightPadding
                onLabelWidthChanged: root.measure()

                objectName: "segment" + index
                width: {
                    const room = row.width - row.spacing * (segments.count - 1)
                    if (!root.stacked || root.labelsWidth <= 0 || root.labelsWidth > room)
                        return room / segments.count
                    return labelWidth + (room - root.labelsWidth) / segments.count
                }
                implicitWidth: implicitContentWidth + 24
                onImplicitWidthChanged: root.measure()
                implicitHeight: implicitContentHeight + topPadding + bottomPadding
                topPadding: 8
                bottomPadding: 8
                leftPadding: 6
                rightPadding: 6
                text: modelData.label
                onClicked: root.choose(modelData.value)
                Accessible.name: modelData.label
                // A press on the chosen one leaves it checked, as the exclusive group does.
                checked: chosen
                // The focused one stays a stop until it loses the focus: a choice made elsewhere
                // (an owner putting its selection back) cannot take that from the focused item.
                focusPolicy: (root.inTabChain && choices.isTabStop(index)) || activeFocus ? Qt.StrongFocus
                                                                                         : Qt.ClickFocus
                Keys.onReturnPressed: clicked()
                Keys.onEnterPressed: clicked()
                Keys.onPressed: event => choices.move(index, event)
                Keys.forwardTo: root.keysFirstTo

                FocusRing {
                    anchors.margins: -1
                    radius: 9
                }

                contentItem: Item {
                    id: face

                    readonly property real iconSpace: icon.visible ? icon.width + label.columnSpacing : 0
                    readonly property bool stacked: root.stacked

                    // The natural width, one line: what the widest segment asks for. Measured apart from
                    // the label, whose own measure follows the width it is given.
                    implicitWidth: iconSpace + Math.ceil(natural.advanceWidth)
                    implicitHeight: label.implicitHeight

                    // Measured in the side-by-side font whatever the look, so that the choice of
                    // look does not feed back on itself.
                    TextMetrics {
                        id: natural

                        font: Typography.font(Typography.Subheadline, segment.chosen ? Font.DemiBold : Font.Normal)
                        text: title.text
                    }
                    // The stacked look writes a step smaller, so that a label keeps to one line.
                    TextMetrics {
                        id: small

                        font: Typography.font(Typography.Footnote, segment.chosen ? Font.DemiBold : Font.Normal)
                        text: title.text
                    }

                    Grid {
                        id: label

                        anchors.centerIn: parent
                        columns: face.stacked ? 1 : 2
                        columnSpacing: 6
                        rowSpacing: 4
                        horizontalItemAlignment: Grid.AlignHCenter
                        verticalItemAlignment: Grid.AlignVCenter

                        AppIcon {
                            id: icon

                            visible: (segment.modelData.icon ?? "") !== ""
                            name: segment.modelData.icon ?? ""
                            size: 15
                            color: segment.chosen ? AppTheme.deepBlack : AppTheme.textSecondary
                        }
                        Text {
                            id: title
                            objectName: "segmentTitle"

                            width: Math.min(Math.ceil(face.stacked ? small.advanceWidth : natural.advanceWidth),
                                            segment.availableWidth - (face.stacked ? 0 : face.iconSpace))
                            wrapMode: Text.WordWrap
                            maximumLineCount: 2
                            elide: Text.ElideRight
                            horizontalAlignment: Text.AlignHCenter
                            text: segment.modelData.label
                            font: face.stacked ? small.font : natural.font
                            color: segment.chosen ? AppTheme.deepBlack : AppTheme.textSecondary
                        }
                    }
                }

                background: Item {
                    visible: segment.chosen

                    BoxShadow {
                        anchors.fill: parent
                        anchors.margins: -margin
                        radius: 8
                        blur: 4
                        offsetY: 1
                        color: Qt.rgba(0, 0, 0, 0.06)
                    }
                    // Framed in the primary colour: a white face alone barely parts from the track in light.
                    Rectangle {
                        anchors.fill: parent
                        radius: 8
                        color: AppTheme.cardBackground
                        border.width: 1
                        border.color: AppTheme.withOpacity(AppTheme.primary, 0.6)
                    }
                }
            }
        }
    }
}
