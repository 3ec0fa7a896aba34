#pragma once

#include <QLockFile>
#include <QString>

// Name of the lock that lets only one control panel run at a time.
inline constexpr const char* SINGLE_INSTANCE_NAME = "KELVARO_TQR_480_CONTROL_PANEL";

// The single-instance lock: a lock file in the temporary folder, held while the object lives.
// A lock left by a process that no longer runs is taken over.
class TSingleInstance
{
public:
    /// Prepares the lock; it is not taken yet.
    TSingleInstance();
    /// Releases the lock when it was taken.
    ~TSingleInstance();
    TSingleInstance(const TSingleInstance&) = delete;
    TSingleInstance& operator=(const TSingleInstance&) = delete;

    /// Takes the lock; false when another running process holds it or it cannot be made.
    bool Acquire();
    /// Path of the lock file.
    static QString LockPath();

private:
    QLockFile m_Lock;
};
