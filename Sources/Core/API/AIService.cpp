#include "AIService.h"

#include "API/Endpoints.h"
#include "Models/GenerateEstimateResponse.h"

#include <QPointer>

AIService::AIService(QObject *parent)
    : ServiceBase(nullptr, parent)
{
}

AIService::AIService(APIClient &api, QObject *parent)
    : ServiceBase(&api, parent)
{
}

void AIService::setGenerating(bool generating)
{
    if (m_isGenerating == generating)
        return;
    m_isGenerating = generating;
    Q_EMIT isGeneratingChanged();
}

QCoro::Task<std::optional<QList<AIGeneratedItem>>> AIService::generate(GenerateEstimateRequest request)
{
    const QPointer<AIService> self(this);
    setGenerating(true);
    clearError();
    std::optional<GenerateEstimateResponse> response;
    if (const std::optional<QJsonValue> body = encode(request)) {
        // Only its answer counts: it is aborted when the service goes, with the sheet that owns it.
        auto pending = send<GenerateEstimateResponse>(QStringLiteral("POST"), Endpoints::aiGenerate(), body, true,
                                                      readOwner(nullptr));
        response = co_await std::move(pending);
    }
    // A failure is already published; the flag falls after it.
    if (self)
        setGenerating(false);
    if (!response)
        co_return std::nullopt;
    co_return response->items;
}
