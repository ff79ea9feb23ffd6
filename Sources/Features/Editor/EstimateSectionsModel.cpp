#include "EstimateSectionsModel.h"

#include "EstimateLineTexts.h"

#include "Utils/Text.h"

#include <algorithm>
#include <utility>

EstimateSectionsModel::EstimateSectionsModel(QObject *parent)
    : QAbstractListModel(parent)
{
}

int EstimateSectionsModel::Change::oldRow(int row) const
{
    switch (kind) {
    case Kind::Same:
        return row;
    case Kind::MoveDown:
        if (row < first || row > last)
            return row;
        return row == last ? first : row + 1;
    case Kind::MoveUp:
        if (row < first || row > last)
            return row;
        return row == first ? last : row - 1;
    case Kind::Remove:
        return row < first ? row : row + count;
    case Kind::Insert:
        if (row < first)
            return row;
        return row < first + count ? -1 : row - count;
    }
    return row;
}

QList<EstimateSectionsModel::Row> EstimateSectionsModel::flatten(const QList<EstimateSection> &sections)
{
    QList<Row> rows;
    for (int s = 0; s < sections.size(); ++s) {
        for (int i = 0; i < sections.at(s).items.size(); ++i)
            rows.append(Row{s, i});
    }
    return rows;
}

bool EstimateSectionsModel::sameHeader(const EstimateSection &a, const EstimateSection &b)
{
    return a.id == b.id && a.title == b.title && a.subtitle == b.subtitle;
}

bool EstimateSectionsModel::sameHeaders(const QList<EstimateSection> &a, const QList<EstimateSection> &b)
{
    return std::equal(a.begin(), a.end(), b.begin(), b.end(), sameHeader);
}

QList<QUuid> EstimateSectionsModel::lineIds(const QList<EstimateSection> &sections, const QList<Row> &rows)
{
    QList<QUuid> ids;
    ids.reserve(rows.size());
    for (const Row &row : rows)
        ids.append(sections.at(row.section).items.at(row.index).id);
    return ids;
}

std::optional<EstimateSectionsModel::Change> EstimateSectionsModel::changeBetween(const QList<QUuid> &before,
                                                                                  const QList<QUuid> &after)
{
    const qsizetype shorter = std::min(before.size(), after.size());
    qsizetype head = 0;
    while (head < shorter && before.at(head) == after.at(head))
        ++head;
    qsizetype tail = 0; // equal rows at the end, not overlapping the equal head
    while (tail < shorter - head && before.at(before.size() - 1 - tail) == after.at(after.size() - 1 - tail))
        ++tail;

    if (before.size() == after.size()) {
        if (head == before.size())
            return Change{};
        const int first = int(head);
        const int last = int(before.size() - 1 - tail);
        const auto rotated = [&](qsizetype from, qsizetype to, qsizetype shift) {
            for (qsizetype i = from; i <= to; ++i) {
                if (after.at(i) != before.at(i + shift))
                    return false;
            }
            return true;
        };
        if (after.at(last) == before.at(first) && rotated(first, last - 1, 1))
            return Change{Change::Kind::MoveDown, first, last, 0};
        if (after.at(first) == before.at(last) && rotated(first + 1, last, -1))
            return Change{Change::Kind::MoveUp, first, last, 0};
        return std::nullopt;
    }
    // One run removed or inserted: everything outside it is equal at both ends.
    const qsizetype difference = after.size() - before.size();
    if (head + tail != shorter)
        return std::nullopt;
    if (difference < 0)
        return Change{Change::Kind::Remove, int(head), 0, int(-difference)};
    return Change{Change::Kind::Insert, int(head), 0, int(difference)};
}

std::optional<EstimateSectionsModel::Change> EstimateSectionsModel::reloadBetween(const QList<EstimateSection> &before,
                                                                                  const QList<Row> &beforeRows,
                                                                                  const QList<EstimateSection> &after,
                                                                                  const QList<Row> &afterRows)
{
    if (beforeRows.size() != afterRows.size())
        return std::nullopt;
    for (qsizetype row = 0; row < afterRows.size(); ++row) {
        if (before.at(beforeRows.at(row).section).id != after.at(afterRows.at(row).section).id)
            return std::nullopt;
    }
    return Change{};
}

void EstimateSectionsModel::setSections(QList<EstimateSection> sections, Refresh how)
{
    QList<Row> rows = flatten(sections);
    const int oldCount = count();
    const bool headersDiffer = !sameHeaders(m_sections, sections);
    std::optional<Change> change;
    if (how == Refresh::Edit)
        change = changeBetween(lineIds(m_sections, m_rows), lineIds(sections, rows));
    else if (how == Refresh::Reload)
        change = reloadBetween(m_sections, m_rows, sections, rows);
    if (!change) {
        beginResetModel();
        m_sections = std::move(sections);
        m_rows = std::move(rows);
        endResetModel();
        if (count() != oldCount)
            Q_EMIT countChanged();
        if (headersDiffer) {
            ++m_headerRevision;
            Q_EMIT headersChanged();
        }
        return;
    }

    // The structural signal goes out while the old rows are still in place.
    const QModelIndex root;
    switch (change->kind) {
    case Change::Kind::Same:
        break;
    case Change::Kind::MoveDown:
        beginMoveRows(root, change->first, change->first, root, change->last + 1);
        break;
    case Change::Kind::MoveUp:
        beginMoveRows(root, change->last, change->last, root, change->first);
        break;
    case Change::Kind::Remove:
        beginRemoveRows(root, change->first, change->first + change->count - 1);
        break;
    case Change::Kind::Insert:
        beginInsertRows(root, change->first, change->first + change->count - 1);
        break;
    }
    const QList<EstimateSection> oldSections = std::exchange(m_sections, std::move(sections));
    const QList<Row> oldRows = std::exchange(m_rows, std::move(rows));
    switch (change->kind) {
    case Change::Kind::Same:
        break;
    case Change::Kind::MoveDown:
    case Change::Kind::MoveUp:
        endMoveRows();
        break;
    case Change::Kind::Remove:
        endRemoveRows();
        break;
    case Change::Kind::Insert:
        endInsertRows();
        break;
    }
    reportChangedRows(oldSections, oldRows, *change);
    if (count() != oldCount)
        Q_EMIT countChanged();
    if (headersDiffer) {
        ++m_headerRevision;
        Q_EMIT headersChanged();
    }
}

void EstimateSectionsModel::reportChangedRows(const QList<EstimateSection> &oldSections, const QList<Row> &oldRows,
                                              const Change &change)
{
    static const QList<int> lineRoles{LineIdRole,   TitleRole,     DescriptionRole, CategoryRole,
                                      HoursRole,    RateRole,      IsLockedRole,    ShownTitleRole,
                                      CostTextRole, HoursTextRole, RateTextRole,    SpokenTextRole};
    static const QList<int> headerRoles{SectionIdRole, SectionTitleRole, SectionSubtitleRole};

    // Runs of neighbouring rows go out as one signal each.
    struct Runs
    {
        EstimateSectionsModel *model;
        const QList<int> &roles;
        int start = -1;
        int end = -1;
        void add(int row)
        {
            if (start >= 0 && row == end + 1) {
                end = row;
                return;
            }
            flush();
            start = end = row;
        }
        void flush()
        {
            if (start >= 0)
                Q_EMIT model->dataChanged(model->index(start), model->index(end), roles);
            start = end = -1;
        }
    };
    Runs lines{this, lineRoles};
    Runs headers{this, headerRoles};

    // Neighbouring rows mostly share both sections, so the header comparison is kept per pair.
    int comparedOld = -1;
    int comparedNew = -1;
    bool headerDiffers = false;
    for (int row = 0; row < m_rows.size(); ++row) {
        const int oldRow = change.oldRow(row);
        if (oldRow < 0)
            continue;
        const Row &was = oldRows.at(oldRow);
        const Row &is = m_rows.at(row);
        if (oldSections.at(was.section).items.at(was.index) != item(is))
            lines.add(row);
        if (was.section != comparedOld || is.section != comparedNew) {
            comparedOld = was.section;
            comparedNew = is.section;
            headerDiffers = !sameHeader(oldSections.at(was.section), m_sections.at(is.section));
        }
        if (headerDiffers)
            headers.add(row);
    }
    lines.flush();
    headers.flush();
}

void EstimateSectionsModel::setCurrency(const QString &currency)
{
    if (m_currency == currency)
        return;
    m_currency = currency;
    if (!m_rows.isEmpty())
        Q_EMIT dataChanged(index(0), index(int(m_rows.size()) - 1), {CostTextRole, RateTextRole, SpokenTextRole});
}

int EstimateSectionsModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : count();
}

QVariant EstimateSectionsModel::data(const QModelIndex &index, int role) const
{
    if (!index.isValid() || index.row() >= m_rows.size())
        return {};
    const Row &row = m_rows.at(index.row());
    const EstimateSection &section = m_sections.at(row.section);
    const EditableEstimateItem &line = section.items.at(row.index);
    switch (role) {
    case SectionIdRole:
        return section.id;
    case SectionTitleRole:
        return section.title;
    case SectionSubtitleRole:
        return section.subtitle.value_or(QString());
    case LineIdRole:
        return line.id.toString(QUuid::WithoutBraces);
    case TitleRole:
        return line.title;
    case DescriptionRole:
        return Text::boundedMessage(line.description); // shown on the card, two lines at most
    case CategoryRole:
        return line.category;
    case HoursRole:
        return line.hours;
    case RateRole:
        return line.rate;
    case IsLockedRole:
        return line.isLocked;
    case ShownTitleRole:
        return EstimateLineTexts::shownTitle(line);
    case CostTextRole:
        return EstimateLineTexts::costText(line, m_currency);
    case HoursTextRole:
        return EstimateLineTexts::hoursText(line);
    case RateTextRole:
        return EstimateLineTexts::rateText(line, m_currency);
    case SpokenTextRole:
        return EstimateLineTexts::spokenText(line, m_currency);
    }
    return {};
}

QHash<int, QByteArray> EstimateSectionsModel::roleNames() const
{
    return {{SectionIdRole, "sectionId"},
            {SectionTitleRole, "sectionTitle"},
            {SectionSubtitleRole, "sectionSubtitle"},
            {LineIdRole, "lineId"},
            {TitleRole, "title"},
            {DescriptionRole, "description"},
            {CategoryRole, "category"},
            {HoursRole, "hours"},
            {RateRole, "rate"},
            {IsLockedRole, "isLocked"},
            {ShownTitleRole, "shownTitle"},
            {CostTextRole, "costText"},
            {HoursTextRole, "hoursText"},
            {RateTextRole, "rateText"},
            {SpokenTextRole, "spokenText"}};
}

EstimateSection EstimateSectionsModel::section(const QString &id) const
{
    for (const EstimateSection &section : m_sections) {
        if (section.id == id)
            return section;
    }
    return {};
}

int EstimateSectionsModel::rowBeside(int row) const
{
    if (row < 0 || row >= count())
        return -1;
    return row + 1 < count() ? row + 1 : row - 1;
}

std::pair<int, int> EstimateSectionsModel::sectionRows(int row) const
{
    if (row < 0 || row >= m_rows.size())
        return {-1, -1};
    const Row &at = m_rows.at(row);
    const int first = row - at.index;
    return {first, first + int(m_sections.at(at.section).items.size()) - 1};
}

int EstimateSectionsModel::rowOfLine(const QString &lineId) const
{
    const QUuid id(lineId);
    if (id.isNull())
        return -1;
    for (int row = 0; row < m_rows.size(); ++row) {
        if (item(m_rows.at(row)).id == id)
            return row;
    }
    return -1;
}
