#pragma once

#include <QByteArray>
#include <QFile>
#include <QList>
#include <malloc.h>
#include <unistd.h>

// What the process holds: its resident pages, and what malloc handed out and did not get back.
struct ProcessMemory
{
    double residentMb = 0;
    double inUseMb = 0;

    static ProcessMemory now()
    {
        // What was freed goes back first, so that the figures follow what is held.
        malloc_trim(0);
        ProcessMemory memory;
        QFile statm(QStringLiteral("/proc/self/statm"));
        if (statm.open(QIODevice::ReadOnly)) {
            const QList<QByteArray> fields = statm.readAll().split(' ');
            if (fields.size() > 1)
                memory.residentMb = fields.at(1).toDouble() * double(sysconf(_SC_PAGESIZE)) / 1e6;
        }
        const struct mallinfo2 info = mallinfo2();
        memory.inUseMb = double(info.uordblks + info.hblkhd) / 1e6;
        return memory;
    }
};
