#include "TemplateLibraryModel.h"

#include "Settings/TemplateLibrary.h"
#include "Utils/NumberText.h"

#include <cmath>

TemplateLibraryModel::TemplateLibraryModel(QObject *parent)
    : QAbstractListModel(parent)
{
}

void TemplateLibraryModel::setSphereId(const QString &sphereId)
{
    if (m_sphereId == sphereId)
        return;
    m_sphereId = sphereId;
    Q_EMIT sphereIdChanged();
    if (m_loaded)
        load();
}

int TemplateLibraryModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : int(m_templates.size());
}

QVariant TemplateLibraryModel::data(const QModelIndex &index, int role) const
{
    if (!checkIndex(index, CheckIndexOption::IndexIsValid | CheckIndexOption::ParentIsInvalid))
        return {};
    const EstimateTemplate &t = m_templates.at(index.row());
    switch (role) {
    case Qt::DisplayRole:
    case NameRole:
        return t.name;
    case SphereTextRole:
        return t.sphereId.value_or(TemplateLibrary::defaultSphereId());
    case DescriptionRole:
        return t.description.value_or(QString());
    case HasDescriptionRole:
        return !t.description.value_or(QString()).isEmpty();
    case CountTextRole:
        return countText(t);
    default:
        return {};
    }
}

QHash<int, QByteArray> TemplateLibraryModel::roleNames() const
{
    return {{NameRole, "name"},
            {SphereTextRole, "sphereText"},
            {DescriptionRole, "descriptionText"},
            {HasDescriptionRole, "hasDescription"},
            {CountTextRole, "countText"}};
}

void TemplateLibraryModel::load()
{
    m_loaded = true;
    const int before = count();
    // Every load replaces the list whole.
    beginResetModel();
    m_templates = TemplateLibrary::all(m_sphereId);
    endResetModel();
    if (before != count())
        Q_EMIT countChanged();
}

QVariant TemplateLibraryModel::templateAt(int row) const
{
    if (row < 0 || row >= count())
        return {};
    return QVariant::fromValue(m_templates.at(row));
}

QString TemplateLibraryModel::confirmationMessage(int row) const
{
    if (row < 0 || row >= count())
        return {};
    return confirmationMessage(m_templates.at(row));
}

QString TemplateLibraryModel::countText(const EstimateTemplate &estimateTemplate)
{
    // The rate without its fraction, toward zero; a rate that is no number shows as "—" (the
    // formatter's own text for it).
    const QString rateText = NumberText::fixed(std::trunc(estimateTemplate.defaultRate) + 0.0, 0);
    return QStringLiteral("%1 поз. · ставка %2").arg(QString::number(estimateTemplate.items.size()), rateText);
}

QString TemplateLibraryModel::confirmationMessage(const EstimateTemplate &estimateTemplate)
{
    // One arg() call, so that a "%1" in the name stays as typed.
    return QStringLiteral("«%1» — %2 поз.").arg(estimateTemplate.name, QString::number(estimateTemplate.items.size()));
}
