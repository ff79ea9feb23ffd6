#pragma once

#include "Models/EstimateTemplate.h"

#include <QAbstractListModel>
#include <QList>
#include <QString>
#include <QVariant>
#include <QtQml/qqmlregistration.h>

// The templates of one sphere as the library's cards, texts made here. The list is read when
// the sheet asks (load()) and again on each change of the sphere after that.
class TemplateLibraryModel : public QAbstractListModel
{
    Q_OBJECT
    QML_ELEMENT
    Q_PROPERTY(QString sphereId READ sphereId WRITE setSphereId NOTIFY sphereIdChanged)
    Q_PROPERTY(int count READ count NOTIFY countChanged)

public:
    enum Role {
        NameRole = Qt::UserRole + 1,
        // The template's sphere as its raw identifier, "software" when it has none.
        SphereTextRole,
        DescriptionRole,
        HasDescriptionRole,
        // "N поз. · ставка <rate without its fraction>"
        CountTextRole,
    };

    explicit TemplateLibraryModel(QObject *parent = nullptr);

    const QString &sphereId() const { return m_sphereId; }
    void setSphereId(const QString &sphereId);
    int count() const { return int(m_templates.size()); }
    const QList<EstimateTemplate> &templates() const { return m_templates; }

    int rowCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role) const override;
    QHash<int, QByteArray> roleNames() const override;

    // Reads the sphere's templates anew; from then on a change of the sphere reloads.
    Q_INVOKABLE void load();
    // The template of that row as an EstimateTemplate value: two templates may share an id, so
    // the row, not the id, tells which was pressed. Undefined for a row that is not there.
    Q_INVOKABLE QVariant templateAt(int row) const;
    // "«name» — N поз." for the confirmation; empty for a row that is not there.
    Q_INVOKABLE QString confirmationMessage(int row) const;

    static QString countText(const EstimateTemplate &estimateTemplate);
    static QString confirmationMessage(const EstimateTemplate &estimateTemplate);

Q_SIGNALS:
    void sphereIdChanged();
    void countChanged();

private:
    QString m_sphereId;
    bool m_loaded = false;
    QList<EstimateTemplate> m_templates;
};
