#pragma once

#include <QObject>
#include <QString>
#include <functional>

class QLocalServer;

// How long a second copy waits for the first to take its request.
inline constexpr int KNOCK_TIMEOUT_MS = 1000;

// Where a second start reaches the copy already running: a local socket named per user beside
// the single-instance lock. The running copy listens and brings its window to the front when
// a later copy knocks; the later copy then says "The application is running." and ends.
class TInstanceChannel : public QObject
{
    Q_OBJECT

public:
    explicit TInstanceChannel(QObject* parent = nullptr);
    ~TInstanceChannel() override;

    /// Listens for later copies; onKnock runs on each one's request. Only the holder of the
    /// single-instance lock listens, so a socket left by a copy that died is taken over.
    /// False when the socket cannot be made (later copies then only show their message).
    bool Listen(std::function<void()> onKnock);
    /// Asks the running copy to come to the front; false when none took the request within
    /// timeoutMs.
    static bool Knock(int timeoutMs = KNOCK_TIMEOUT_MS);

private:
    void Accept();

    QLocalServer* m_pServer;
    std::function<void()> m_OnKnock;
};
