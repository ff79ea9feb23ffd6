#pragma once

#include <QObject>
#include <QStringList>

// URLs handed to the process (start argument, or forwarded by a second start). The root view takes
// them; ones that arrive before it exists wait here.
class OpenedUrlInbox : public QObject
{
    Q_OBJECT
public:
    static OpenedUrlInbox *instance();

    void post(const QString &url);
    QStringList takePending();

Q_SIGNALS:
    void urlPosted();

private:
    QStringList m_pending;
};
