#include "transfer/FileKind.h"

#include <QFileInfo>

#ifdef Q_OS_UNIX
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <unistd.h>
#endif

TFileKind FileKindOf(const QString& path)
{
    const QFileInfo info(path);
    if (!info.exists())
        return TFileKind::Missing;
    if (info.isDir())
        return TFileKind::Folder;
    // Qt counts only regular files (and links to them) as files.
    return info.isFile() ? TFileKind::Regular : TFileKind::Stream;
}

bool OpenStreamForWriting(QFile& file, const QString& path, QString& error)
{
#ifdef Q_OS_UNIX
    // O_NONBLOCK only for the open: a FIFO without a reader then fails with ENXIO instead of
    // waiting where no signal handler can end the wait.
    const QByteArray native = QFile::encodeName(path);
    const int fd = ::open(native.constData(), O_WRONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0)
    {
        error = errno == ENXIO ? QStringLiteral("nothing reads from it")
                               : QString::fromLocal8Bit(std::strerror(errno));
        return false;
    }
    const int flags = ::fcntl(fd, F_GETFL);
    if (flags >= 0)
        ::fcntl(fd, F_SETFL, flags & ~O_NONBLOCK);
    if (file.open(fd, QIODevice::WriteOnly | QIODevice::Unbuffered, QFileDevice::AutoCloseHandle))
        return true;
    ::close(fd);
#else
    file.setFileName(path);
    if (file.open(QIODevice::WriteOnly | QIODevice::Append | QIODevice::Unbuffered))
        return true;
#endif
    error = file.errorString();
    return false;
}
