#include "app/SingleInstance.h"

#include <QDir>

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

QString TSingleInstance::LockPath()
{
    return QDir::temp().filePath(QString::fromLatin1(SINGLE_INSTANCE_NAME) +
                                 QStringLiteral(".lock"));
}
