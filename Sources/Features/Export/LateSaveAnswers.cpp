#include "LateSaveAnswers.h"

#include "PortalFileChooserProtocol.h"

#include <optional>

LateSaveAnswers::LateSaveAnswers(QObject *parent)
    : QObject(parent)
{
}

void LateSaveAnswers::tellNotUsed(const PortalAnswer &chosen, const QString &savedPath)
{
    const std::optional<QString> message = PortalFileChooserProtocol::placeNotUsed(chosen, savedPath);
    if (message)
        Q_EMIT placeNotUsed(*message);
}
