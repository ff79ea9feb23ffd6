pragma ComponentBehavior: Bound
import QtQuick
import QtQuick.Templates as T
import Tessmark.Design
import Tessmark.Features.Projects

// The templates offered for a new project as cards, in as many rows as they need; pressing one
// marks it. Drawn in the
// window's palette colours, which follow the light or dark appearance.
Item {
    id: picker

    required property TemplateCardsModel templates

    signal selected(int index)

    implicitHeight: templates.count === 0 ? emptyText.implicitHeight : row.implicitHeight + 8
    implicitWidth: 400

    Text {
        id: emptyText

        visible: picker.templates.count === 0
        text: "Шаблоны не загружены"
        color: cards.palette.placeholderText
        font: Typography.font(Typography.Body)
    }

    // Stock controls carry the window's palette; the empty text borrows it from here.
    T.Control {
        id: cards
    }

    // Every template in view: cards that do not fit go on to the next row.
    Item {
        objectName: "templateCards"
        visible: picker.templates.count > 0
        y: 4
        width: parent.width
        height: row.implicitHeight

        Flow {
            id: row

            width: parent.width
            spacing: 12

            // One Tab stop; the arrow keys move the choice.
            ChoiceGroup {
                id: choices
                repeater: templateRepeater
            }

            Repeater {
                id: templateRepeater
                model: picker.templates

                delegate: T.RadioButton {
                    id: card

                    required property int index
                    required property string name
                    required property string description
                    required property bool hasDescription
                    required property string summary
                    required property bool isSelected

                    objectName: "templateCard-" + index
                    width: 200
                    implicitHeight: column.implicitHeight + 24
                    padding: 12
                    focusPolicy: choices.isTabStop(index) ? Qt.StrongFocus : Qt.ClickFocus
                    Keys.onPressed: event => choices.move(index, event)
                    text: name
                    checked: isSelected
                    Accessible.name: name
                    Accessible.description: summary
                    onClicked: picker.selected(index)

                    background: Rectangle {
                        radius: 10
                        color: card.isSelected ? AppTheme.withOpacity(card.palette.highlight, 0.12) : AppTheme.withOpacity(card.palette.text, 0.04)
                        border.width: card.isSelected ? 2 : 1
                        border.color: card.isSelected ? card.palette.highlight : AppTheme.withOpacity(card.palette.placeholderText, 0.35)

                        FocusRing {
                            radius: 13
                            shown: card.visualFocus
                        }
                    }

                    contentItem: Column {
                        id: column

                        spacing: 6

                        Text {
                            width: card.availableWidth
                            text: card.name
                            textFormat: Text.PlainText
                            wrapMode: Text.Wrap
                            font: Typography.font(Typography.Subheadline, Font.DemiBold)
                            color: card.palette.text
                        }
                        Text {
                            width: card.availableWidth
                            visible: card.hasDescription
                            text: card.description
                            textFormat: Text.PlainText
                            wrapMode: Text.Wrap
                            maximumLineCount: 2
                            elide: Text.ElideRight
                            font: Typography.font(Typography.Caption)
                            color: card.palette.placeholderText
                        }
                        Text {
                            objectName: "templateSummary"
                            width: card.availableWidth
                            text: card.summary
                            textFormat: Text.PlainText
                            font: Typography.font(Typography.Caption2)
                            color: card.palette.placeholderText
                        }
                    }
                }
            }
        }
    }
}
