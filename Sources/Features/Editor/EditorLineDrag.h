#pragma once

#include "ProjectEditorScreenModel.h"

#include <QList>
#include <QMetaObject>
#include <QObject>
#include <QPointer>
#include <QtQml/qqmlregistration.h>

// A line dragged by its grip over the editor's list: where it would land, always within its own
// section, and how far each other line steps aside meanwhile, so that a gap opens where it lands.
// Lines move only in the category mode; in the sorted modes a dragged line goes back to its place
// and nothing steps aside. Rows are the rows of the editor's sections model.
class EditorLineDrag : public QObject
{
    Q_OBJECT
    QML_ELEMENT
    Q_PROPERTY(ProjectEditorScreenModel *screen READ screen WRITE setScreen NOTIFY screenChanged)
    Q_PROPERTY(bool active READ active NOTIFY changed)
    Q_PROPERTY(int fromRow READ fromRow NOTIFY changed)
    // Where a drop now puts the line; fromRow while it would stay.
    Q_PROPERTY(int toRow READ toRow NOTIFY changed)

public:
    explicit EditorLineDrag(QObject *parent = nullptr);

    ProjectEditorScreenModel *screen() const { return m_screen; }
    void setScreen(ProjectEditorScreenModel *screen);
    bool active() const { return m_fromRow >= 0; }
    int fromRow() const { return m_fromRow; }
    int toRow() const { return m_toRow; }

    // The line of that row is picked up; extent is its height with the spacing after it, the
    // room the others step by.
    Q_INVOKABLE void begin(int row, double extent);
    // The row whose place is under the dragged line's centre; -1 for none (between two lines, a
    // section's heading), where the landing row stays as it was. A row of another section lands
    // at this section's nearer end.
    Q_INVOKABLE void hover(int row);
    // How far the line of that row is drawn from its place: the lines between the dragged one's
    // place and its landing row step towards its place by its extent; the others, and the
    // dragged one itself, not at all.
    Q_INVOKABLE double shiftOf(int row) const;
    // Drops the line: moves it to the landing row when that is another. True when it moved.
    Q_INVOKABLE bool drop();
    // Lets go without moving anything.
    Q_INVOKABLE void cancel();

Q_SIGNALS:
    void screenChanged();
    void changed();

private:
    bool movable() const;

    QPointer<ProjectEditorScreenModel> m_screen;
    QList<QMetaObject::Connection> m_modelLinks;
    int m_fromRow = -1;
    int m_toRow = -1;
    int m_firstRow = -1;
    int m_lastRow = -1;
    double m_extent = 0;
};
