#pragma once

#include "Models/AIGeneratedItem.h"
#include "Models/GenerateEstimateRequest.h"

#include <QList>
#include <QObject>
#include <QVariant>
#include <QCoro/QCoroTask>
#include <QtQml/qqmlregistration.h>
#include <optional>

class APIClient;

// Asks the backend's AI for estimate lines. Owned by the generation sheet; never throws.
class AIService : public QObject
{
    Q_OBJECT
    QML_ELEMENT
    QML_UNCREATABLE("Owned by the generation sheet's view model")
    Q_PROPERTY(bool isGenerating READ isGenerating NOTIFY isGeneratingChanged)
    // The last failure's text, or null.
    Q_PROPERTY(QVariant errorMessage READ errorMessageValue NOTIFY errorMessageChanged)

public:
    explicit AIService(QObject *parent = nullptr);
    explicit AIService(APIClient &api, QObject *parent = nullptr);

    bool isGenerating() const { return m_isGenerating; }
    const std::optional<QString> &errorMessage() const { return m_errorMessage; }
    QVariant errorMessageValue() const;

    // The proposed lines in the answer's order (possibly none), or no value after a failure.
    QCoro::Task<std::optional<QList<AIGeneratedItem>>> generate(GenerateEstimateRequest request);

Q_SIGNALS:
    void isGeneratingChanged();
    void errorMessageChanged();

private:
    void setGenerating(bool generating);
    void setErrorMessage(std::optional<QString> message);

    APIClient &m_api;
    bool m_isGenerating = false;
    std::optional<QString> m_errorMessage;
};
