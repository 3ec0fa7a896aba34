#include "app/SingleInstance.h"

#include <QDir>
#include <QFileInfo>

#ifndef _WIN32
#include <unistd.h>
#endif

namespace
{
// The lock file's name: one lock per user.
QString LockFileName()
{
#ifdef _WIN32
    return QString::fromLatin1(SINGLE_INSTANCE_NAME) + QStringLiteral(".lock");
#else
    return QString::fromLatin1(SINGLE_INSTANCE_NAME) + QLatin1Char('-') +
           QString::number(getuid()) + QStringLiteral(".lock");
#endif
}
} // namespace

TSingleInstance::TSingleInstance() : m_Lock(LockPath())
{
    // Never judge a lock stale by its age: a control panel may run for days.
    m_Lock.setStaleLockTime(0);
}

TSingleInstance::~TSingleInstance()
{
    if (m_Lock.isLocked())
    {
        m_Lock.unlock();
    }
}

bool TSingleInstance::Acquire()
{
    return m_Lock.tryLock(0);
}

QString TSingleInstance::LockFolder()
{
#ifdef _WIN32
    return QDir::tempPath(); // the user's own folder there, not one a shell variable moves
#else
    const QString runtime = qEnvironmentVariable(RUNTIME_FOLDER_ENV);
    if (!runtime.isEmpty() && QFileInfo(runtime).isDir())
    {
        return runtime;
    }
    return QString::fromLatin1(SINGLE_INSTANCE_FALLBACK_FOLDER);
#endif
}

QString TSingleInstance::LockPath()
{
    return QDir(LockFolder()).filePath(LockFileName());
}
