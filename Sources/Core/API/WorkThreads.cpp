#include "WorkThreads.h"

#include <QThread>

#include <algorithm>

namespace WorkThreads {

namespace {

class Pool : public QThreadPool
{
public:
    Pool()
    {
        setObjectName(QStringLiteral("Tessmark work"));
        setMaxThreadCount(std::max(2, QThread::idealThreadCount()));
    }
};

} // namespace

QThreadPool &shared()
{
    static Pool pool;
    return pool;
}

void finish()
{
    shared().waitForDone();
}

} // namespace WorkThreads
