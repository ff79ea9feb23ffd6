#pragma once

#include "EstimateSection.h"

#include <QAbstractListModel>
#include <QList>
#include <QUuid>
#include <QtQml/qqmlregistration.h>
#include <optional>
#include <utility>

// The editor's sections as one flat list of lines, each row carrying its section's id, title and
// subtitle, for a ListView that draws headers from section.property "sectionId".
class EstimateSectionsModel : public QAbstractListModel
{
    Q_OBJECT
    QML_ELEMENT
    QML_UNCREATABLE("Owned by ProjectEditorViewModel")
    Q_PROPERTY(int count READ count NOTIFY countChanged)
    // Changes whenever a section's id, title or subtitle does; a header delegate that reads
    // section() binds to it to be redrawn.
    Q_PROPERTY(int headerRevision READ headerRevision NOTIFY headersChanged)

public:
    enum Role {
        SectionIdRole = Qt::UserRole + 1,
        SectionTitleRole,
        SectionSubtitleRole,
        LineIdRole,
        TitleRole,
        DescriptionRole,
        CategoryRole,
        HoursRole,
        RateRole,
        IsLockedRole,
        ShownTitleRole,
        CostTextRole,
        HoursTextRole,
        RateTextRole,
        SpokenTextRole,
    };

    // How new sections came about: edits of the lines keep every line's identity; a reload
    // renews every identity but mostly keeps the lines where they were; a regrouping reorders
    // them all.
    enum class Refresh { Edit, Reload, Regroup };

    explicit EstimateSectionsModel(QObject *parent = nullptr);

    const QList<EstimateSection> &sections() const { return m_sections; }
    // After an edit, lines in the same order, one line moved, or one run of lines removed or
    // inserted are reported as such, with dataChanged for the rows and headers that differ, so a
    // view keeps its place and its items; after a reload, so are rows that stay in the same
    // sections, row for row; anything else resets the model.
    void setSections(QList<EstimateSection> sections, Refresh how);
    // The currency of the cards' cost and rate texts; a change redraws them.
    void setCurrency(const QString &currency);

    int count() const { return int(m_rows.size()); }
    int headerRevision() const { return m_headerRevision; }
    int rowCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role) const override;
    QHash<int, QByteArray> roleNames() const override;

    // The section with that id (a header delegate is given the id only); an empty one when
    // there is none.
    Q_INVOKABLE EstimateSection section(const QString &id) const;
    // The row the keyboard goes on to when the line of this row goes: the next row, else the one
    // before; -1 when no other is left.
    Q_INVOKABLE int rowBeside(int row) const;
    // The first and the last row of the section that holds the row; {-1, -1} outside the rows.
    std::pair<int, int> sectionRows(int row) const;
    // The row of the line with that identity, -1 when there is none: the editor keeps a line in
    // view across a regrouping or a reload.
    Q_INVOKABLE int rowOfLine(const QString &lineId) const;

Q_SIGNALS:
    void countChanged();
    void headersChanged();

private:
    struct Row
    {
        int section;
        int index;
    };
    // How the new rows came from the old ones; rows are told apart by their line identity.
    struct Change
    {
        enum class Kind { Same, MoveDown, MoveUp, Remove, Insert };
        Kind kind = Kind::Same;
        int first = 0; // MoveDown/MoveUp: the two ends of the rotated run; Remove/Insert: first row
        int last = 0; // MoveDown/MoveUp only
        int count = 0; // Remove/Insert only
        // The old row of a new row, or -1 for an inserted one.
        int oldRow(int row) const;
    };

    static QList<Row> flatten(const QList<EstimateSection> &sections);
    static bool sameHeader(const EstimateSection &a, const EstimateSection &b);
    static bool sameHeaders(const QList<EstimateSection> &a, const QList<EstimateSection> &b);
    static std::optional<Change> changeBetween(const QList<QUuid> &before, const QList<QUuid> &after);
    // Same rows when every row stays in a section of the same id.
    static std::optional<Change> reloadBetween(const QList<EstimateSection> &before, const QList<Row> &beforeRows,
                                               const QList<EstimateSection> &after, const QList<Row> &afterRows);
    static QList<QUuid> lineIds(const QList<EstimateSection> &sections, const QList<Row> &rows);
    const EditableEstimateItem &item(const Row &row) const { return m_sections.at(row.section).items.at(row.index); }
    void reportChangedRows(const QList<EstimateSection> &oldSections, const QList<Row> &oldRows, const Change &change);

    QList<EstimateSection> m_sections;
    QList<Row> m_rows;
    QString m_currency;
    int m_headerRevision = 0;
};
