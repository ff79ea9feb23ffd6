#pragma once

#include <QDir>
#include <QFile>
#include <QString>

#include <linux/capability.h>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <unistd.h>

// A folder that the test may not write into, even as root: its mode is made 0555 (or one of the
// test's, such as 0333 for a folder that cannot be listed either) and, while the object lives, the
// calling thread gives up the right to override file modes (a root test process keeps it
// otherwise). Everything that should fail must run on the thread that made the object.
class ReadOnlyFolder
{
public:
    explicit ReadOnlyFolder(const QString &path, mode_t mode = 0555)
        : m_path(path)
    {
        if (!QDir().mkpath(path) || ::chmod(QFile::encodeName(path).constData(), mode) != 0)
            return;
        m_valid = setOverride(false);
    }
    ~ReadOnlyFolder()
    {
        setOverride(true);
        ::chmod(QFile::encodeName(m_path).constData(), 0755);
    }
    ReadOnlyFolder(const ReadOnlyFolder &) = delete;
    ReadOnlyFolder &operator=(const ReadOnlyFolder &) = delete;

    bool isValid() const { return m_valid; }

private:
    static bool setOverride(bool on)
    {
        __user_cap_header_struct header{_LINUX_CAPABILITY_VERSION_3, 0};
        __user_cap_data_struct data[2]{};
        if (::syscall(SYS_capget, &header, data) != 0)
            return false;
        const unsigned mask = (1u << CAP_DAC_OVERRIDE) | (1u << CAP_DAC_READ_SEARCH);
        if (on)
            data[0].effective |= data[0].permitted & mask;
        else
            data[0].effective &= ~mask;
        return ::syscall(SYS_capset, &header, data) == 0;
    }

    QString m_path;
    bool m_valid = false;
};
