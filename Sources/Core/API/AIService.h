#pragma once

#include "API/ServiceBase.h"
#include "Models/AIGeneratedItem.h"
#include "Models/GenerateEstimateRequest.h"

#include <QList>
#include <QCoro/QCoroTask>
#include <QtQml/qqmlregistration.h>
#include <optional>

// Asks the backend's AI for estimate lines. Owned by the generation sheet; never throws.
class AIService : public ServiceBase
{
    Q_OBJECT
    QML_ELEMENT
    QML_UNCREATABLE("Owned by the generation sheet's view model")
    Q_PROPERTY(bool isGenerating READ isGenerating NOTIFY isGeneratingChanged)

public:
    explicit AIService(QObject *parent = nullptr);
    explicit AIService(APIClient &api, QObject *parent = nullptr);

    bool isGenerating() const { return m_isGenerating; }

    // The proposed lines in the answer's order (possibly none), or no value after a failure.
    QCoro::Task<std::optional<QList<AIGeneratedItem>>> generate(GenerateEstimateRequest request);

Q_SIGNALS:
    void isGeneratingChanged();

private:
    void setGenerating(bool generating);

    bool m_isGenerating = false;
};
