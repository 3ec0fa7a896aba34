#pragma once

#include <QLockFile>
#include <QString>

// Name of the lock that lets only one control panel run at a time.
inline constexpr const char* SINGLE_INSTANCE_NAME = "KELVARO_TQR_480_CONTROL_PANEL";
// Where the lock goes when the session names no runtime folder of its own.
inline constexpr const char* SINGLE_INSTANCE_FALLBACK_FOLDER = "/tmp";
inline constexpr const char* RUNTIME_FOLDER_ENV = "XDG_RUNTIME_DIR";

// The single-instance lock: a lock file held while the object lives, one per user. It lies in
// the session's runtime folder (XDG_RUNTIME_DIR), else in /tmp; the name carries the user id.
// TMPDIR plays no part, so copies started with different temporary folders still meet.
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
    /// Path of the local socket on which the running copy hears later starts, beside the lock.
    static QString ChannelPath();

private:
    static QString LockFolder();
    static QString BaseName();

    QLockFile m_Lock;
};
