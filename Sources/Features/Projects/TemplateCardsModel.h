#pragma once

#include "Models/EstimateTemplate.h"

#include <QAbstractListModel>
#include <QList>
#include <QtQml/qqmlregistration.h>

// The templates offered by the template picker, one card each, with the marked one. Templates
// may share an identity (a built-in and a user's), so a card is marked by its position.
class TemplateCardsModel : public QAbstractListModel
{
    Q_OBJECT
    QML_ELEMENT
    QML_UNCREATABLE("Owned by the sheet's view model")
    Q_PROPERTY(int count READ count NOTIFY countChanged)
    Q_PROPERTY(int selectedIndex READ selectedIndex NOTIFY selectedIndexChanged)

public:
    enum Role {
        NameRole = Qt::UserRole + 1,
        DescriptionRole,
        // A description that is present takes its line even when empty.
        HasDescriptionRole,
        SummaryRole,
        IsSelectedRole,
    };

    using QAbstractListModel::QAbstractListModel;

    // "N строк · <whole rate> " and "✓" when marked; the whole rate is 0 when it has none.
    static QString summary(const EstimateTemplate &estimateTemplate, bool selected);

    const QList<EstimateTemplate> &templates() const { return m_templates; }
    void setTemplates(const QList<EstimateTemplate> &templates);
    int count() const { return int(m_templates.size()); }
    int selectedIndex() const { return m_selectedIndex; }
    // -1 (or any position outside the list) marks none.
    void setSelectedIndex(int index);
    std::optional<EstimateTemplate> selectedTemplate() const;

    int rowCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role) const override;
    QHash<int, QByteArray> roleNames() const override;

Q_SIGNALS:
    void countChanged();
    void selectedIndexChanged();

private:
    void rowChanged(int row);

    QList<EstimateTemplate> m_templates;
    int m_selectedIndex = -1;
};
