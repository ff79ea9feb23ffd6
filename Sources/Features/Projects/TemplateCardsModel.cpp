#include "Features/Projects/TemplateCardsModel.h"

#include "Utils/Numbers.h"

QString TemplateCardsModel::summary(const EstimateTemplate &estimateTemplate, bool selected)
{
    const qint64 rate = Numbers::truncatedInt64(estimateTemplate.defaultRate).value_or(0);
    return QStringLiteral("%1 строк · %2 %3")
        .arg(QString::number(estimateTemplate.items.size()), QString::number(rate),
             selected ? QStringLiteral("✓") : QString());
}

void TemplateCardsModel::setTemplates(const QList<EstimateTemplate> &templates)
{
    const int before = count();
    beginResetModel();
    m_templates = templates;
    m_selectedIndex = -1;
    endResetModel();
    Q_EMIT selectedIndexChanged();
    if (count() != before)
        Q_EMIT countChanged();
}

void TemplateCardsModel::setSelectedIndex(int index)
{
    if (index < 0 || index >= count())
        index = -1;
    if (index == m_selectedIndex)
        return;
    const int before = m_selectedIndex;
    m_selectedIndex = index;
    rowChanged(before);
    rowChanged(index);
    Q_EMIT selectedIndexChanged();
}

std::optional<EstimateTemplate> TemplateCardsModel::selectedTemplate() const
{
    if (m_selectedIndex < 0)
        return std::nullopt;
    return m_templates.at(m_selectedIndex);
}

void TemplateCardsModel::rowChanged(int row)
{
    if (row < 0)
        return;
    const QModelIndex changed = index(row);
    Q_EMIT dataChanged(changed, changed);
}

int TemplateCardsModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : count();
}

QVariant TemplateCardsModel::data(const QModelIndex &index, int role) const
{
    if (!index.isValid() || index.row() >= count())
        return {};
    const EstimateTemplate &estimateTemplate = m_templates.at(index.row());
    const bool selected = index.row() == m_selectedIndex;
    switch (role) {
    case NameRole:
        return estimateTemplate.name;
    case DescriptionRole:
        return estimateTemplate.description.value_or(QString());
    case HasDescriptionRole:
        return estimateTemplate.description.has_value();
    case SummaryRole:
        return summary(estimateTemplate, selected);
    case IsSelectedRole:
        return selected;
    }
    return {};
}

QHash<int, QByteArray> TemplateCardsModel::roleNames() const
{
    return {{NameRole, "name"},
            {DescriptionRole, "description"},
            {HasDescriptionRole, "hasDescription"},
            {SummaryRole, "summary"},
            {IsSelectedRole, "isSelected"}};
}
