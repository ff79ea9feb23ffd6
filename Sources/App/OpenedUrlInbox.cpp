#include "App/OpenedUrlInbox.h"

OpenedUrlInbox *OpenedUrlInbox::instance()
{
    static OpenedUrlInbox inbox;
    return &inbox;
}

void OpenedUrlInbox::post(const QString &url)
{
    m_pending.append(url);
    Q_EMIT urlPosted();
}

QStringList OpenedUrlInbox::takePending()
{
    return std::exchange(m_pending, {});
}
