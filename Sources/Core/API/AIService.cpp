#include "AIService.h"

#include "API/APIClient.h"
#include "API/Endpoints.h"
#include "API/ErrorDescription.h"
#include "Models/GenerateEstimateResponse.h"

#include <QPointer>

AIService::AIService(QObject *parent)
    : AIService(APIClient::shared(), parent)
{
}

AIService::AIService(APIClient &api, QObject *parent)
    : QObject(parent)
    , m_api(api)
{
}

QVariant AIService::errorMessageValue() const
{
    return m_errorMessage ? QVariant(*m_errorMessage) : QVariant();
}

void AIService::setGenerating(bool generating)
{
    if (m_isGenerating == generating)
        return;
    m_isGenerating = generating;
    Q_EMIT isGeneratingChanged();
}

void AIService::setErrorMessage(std::optional<QString> message)
{
    if (m_errorMessage == message)
        return;
    m_errorMessage = std::move(message);
    Q_EMIT errorMessageChanged();
}

QCoro::Task<std::optional<QList<AIGeneratedItem>>> AIService::generate(GenerateEstimateRequest request)
{
    QPointer<AIService> self(this);
    setGenerating(true);
    setErrorMessage(std::nullopt);
    try {
        const QJsonObject body = request.toJson();
        QCoro::Task<GenerateEstimateResponse> pending =
            m_api.request<GenerateEstimateResponse>(QStringLiteral("POST"), Endpoints::aiGenerate(), body, true);
        const GenerateEstimateResponse response = co_await std::move(pending);
        if (self)
            setGenerating(false);
        co_return response.items;
    } catch (const std::exception &error) {
        if (self) {
            setErrorMessage(errorDescription(error));
            setGenerating(false);
        }
    }
    co_return std::nullopt;
}
