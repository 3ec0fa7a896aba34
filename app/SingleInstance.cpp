#include "app/SingleInstance.h"

#include <QDir>
#include <QFileInfo>

#ifndef _WIN32
#include <unistd.h>
#endif

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

// One lock and one channel per user.
QString TSingleInstance::BaseName()
{
#ifdef _WIN32
    return QString::fromLatin1(SINGLE_INSTANCE_NAME);
#else
    return QString::fromLatin1(SINGLE_INSTANCE_NAME) + QLatin1Char('-') + QString::number(getuid());
#endif
}

QString TSingleInstance::LockPath()
{
    return QDir(LockFolder()).filePath(BaseName() + QStringLiteral(".lock"));
}

QString TSingleInstance::ChannelPath()
{
#ifdef _WIN32
    // A pipe name; pipes are machine-wide there, so it carries the user's name.
    return BaseName() + QLatin1Char('-') + qEnvironmentVariable("USERNAME");
#else
    return QDir(LockFolder()).filePath(BaseName() + QStringLiteral(".socket"));
#endif
}
