#pragma once

#include <QByteArray>
#include <QString>
#include <QtGlobal>

#include <vector>

// Watches Qt open the window system. When that fails Qt prints a paragraph and aborts; while
// a guard lives the process says so in one line on stderr and exits with status 1 instead.
// What Qt reports during a start that works is passed on when the guard is released.
class TDisplayGuard
{
public:
    TDisplayGuard();
    ~TDisplayGuard();
    TDisplayGuard(const TDisplayGuard&) = delete;
    TDisplayGuard& operator=(const TDisplayGuard&) = delete;

    /// Ends the watch: the usual message handler is back and gets what was held.
    void Release();

private:
    struct TMessage
    {
        QtMsgType Type;
        QByteArray Category;
        QString Text;
    };

    static void Handle(QtMsgType type, const QMessageLogContext& context, const QString& text);
    [[noreturn]] void Fail(const QString& fatalText) const;

    std::vector<TMessage> m_Held;
    QtMessageHandler m_Previous = nullptr;
};
