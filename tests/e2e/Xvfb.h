#pragma once

#include <QByteArray>
#include <QDeadlineTimer>
#include <QImage>
#include <QProcess>
#include <QString>
#include <QStringList>

// A private X server for one test: Xvfb on a display number it picks itself, stopped with
// the object. Also runs the X tools (xdotool, import) against that display.
class TXvfb
{
public:
    TXvfb();
    ~TXvfb();
    TXvfb(const TXvfb&) = delete;
    TXvfb& operator=(const TXvfb&) = delete;

    /// Starts the server; false with Error() when it did not come up within a few seconds.
    bool Start();
    /// ":N" once started.
    QString Display() const { return m_Display; }
    const QString& Error() const { return m_Error; }

    /// Runs an X tool on this display to its end; its standard output, empty on failure.
    QByteArray Run(const QString& program, const QStringList& arguments, bool* ok = nullptr) const;
    /// The whole screen.
    QImage Screenshot() const;
    /// Id of the first window whose name matches, empty when there is none.
    QString FindWindow(const QString& name) const;
    /// Top-left corner of a window on the screen; (-1, -1) when unknown.
    QPoint WindowPosition(const QString& windowId) const;
    /// Moves the pointer to a screen point and clicks the left button there.
    bool ClickAt(const QPoint& screenPoint) const;
    /// Types one key with the pointer at a screen point (no window manager: focus follows it).
    bool KeyAt(const QPoint& screenPoint, const QString& key) const;

private:
    bool WaitUntilReady(const QDeadlineTimer& deadline);

    QProcess m_Server;
    QString m_Display;
    QString m_Error;
};
