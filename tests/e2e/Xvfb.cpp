#include "tests/e2e/Xvfb.h"

#include <QDeadlineTimer>
#include <QProcessEnvironment>
#include <QRegularExpression>
#include <QThread>

namespace
{

constexpr int SERVER_START_MS = 15000;
constexpr int SERVER_STOP_MS = 5000;
constexpr int TOOL_MS = 15000;
constexpr int READY_POLL_MS = 50;
const char* const SCREEN = "1024x768x24";

} // namespace

TXvfb::TXvfb() = default;

TXvfb::~TXvfb()
{
    if (m_Server.state() != QProcess::NotRunning)
    {
        m_Server.terminate();
        if (!m_Server.waitForFinished(SERVER_STOP_MS))
        {
            m_Server.kill();
            m_Server.waitForFinished(SERVER_STOP_MS);
        }
    }
}

bool TXvfb::Start()
{
    // -displayfd: the server picks a free display and writes its number when it accepts clients.
    // -noreset: otherwise the server resets whenever its last client leaves, and a program
    // connecting during that reset (the X tools come and go all the time) is turned away.
    m_Server.setProcessChannelMode(QProcess::SeparateChannels);
    m_Server.setStandardErrorFile(QProcess::nullDevice());
    m_Server.start(QStringLiteral("Xvfb"),
                   {QStringLiteral("-displayfd"), QStringLiteral("1"), QStringLiteral("-screen"),
                    QStringLiteral("0"), QString::fromLatin1(SCREEN), QStringLiteral("-nolisten"),
                    QStringLiteral("tcp"), QStringLiteral("-noreset")});
    if (!m_Server.waitForStarted(SERVER_START_MS))
    {
        m_Error = QStringLiteral("cannot run Xvfb: ") + m_Server.errorString();
        return false;
    }
    QByteArray out;
    const QDeadlineTimer deadline(SERVER_START_MS);
    while (!out.contains('\n') && !deadline.hasExpired())
    {
        m_Server.waitForReadyRead(static_cast<int>(deadline.remainingTime()));
        out += m_Server.readAllStandardOutput();
        if (m_Server.state() == QProcess::NotRunning)
        {
            break;
        }
    }
    bool ok = false;
    const int number = out.trimmed().toInt(&ok);
    if (!ok)
    {
        m_Error = QStringLiteral("Xvfb gave no display number");
        return false;
    }
    m_Display = QStringLiteral(":%1").arg(number);
    return WaitUntilReady(deadline);
}

bool TXvfb::WaitUntilReady(const QDeadlineTimer& deadline)
{
    // Be sure a client gets through before the program is started against it.
    while (!deadline.hasExpired() && m_Server.state() == QProcess::Running)
    {
        bool ok = false;
        Run(QStringLiteral("xdpyinfo"), {}, &ok);
        if (ok)
        {
            return true;
        }
        QThread::msleep(READY_POLL_MS);
    }
    m_Error = QStringLiteral("Xvfb on %1 takes no clients").arg(m_Display);
    return false;
}

QByteArray TXvfb::Run(const QString& program, const QStringList& arguments, bool* ok) const
{
    QProcess tool;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("DISPLAY"), m_Display);
    tool.setProcessEnvironment(env);
    tool.setStandardErrorFile(QProcess::nullDevice());
    tool.start(program, arguments);
    const bool finished = tool.waitForStarted(TOOL_MS) && tool.waitForFinished(TOOL_MS);
    const bool success = finished && tool.exitStatus() == QProcess::NormalExit && tool.exitCode() == 0;
    if (ok)
    {
        *ok = success;
    }
    if (!finished)
    {
        tool.kill();
        tool.waitForFinished(TOOL_MS);
    }
    return success ? tool.readAllStandardOutput() : QByteArray();
}

QImage TXvfb::Screenshot() const
{
    const QByteArray png =
        Run(QStringLiteral("import"), {QStringLiteral("-window"), QStringLiteral("root"), QStringLiteral("png:-")});
    return QImage::fromData(png, "PNG");
}

QString TXvfb::FindWindow(const QString& name) const
{
    const QByteArray ids = Run(QStringLiteral("xdotool"),
                               {QStringLiteral("search"), QStringLiteral("--name"), name});
    const QList<QByteArray> lines = ids.split('\n');
    return lines.isEmpty() ? QString() : QString::fromLatin1(lines.first().trimmed());
}

QPoint TXvfb::WindowPosition(const QString& windowId) const
{
    const QString out = QString::fromLatin1(Run(
        QStringLiteral("xdotool"), {QStringLiteral("getwindowgeometry"), windowId}));
    const QRegularExpressionMatch match =
        QRegularExpression(QStringLiteral("Position: (-?\\d+),(-?\\d+)")).match(out);
    if (!match.hasMatch())
    {
        return QPoint(-1, -1);
    }
    return QPoint(match.captured(1).toInt(), match.captured(2).toInt());
}

bool TXvfb::ClickAt(const QPoint& screenPoint) const
{
    bool ok = false;
    Run(QStringLiteral("xdotool"),
        {QStringLiteral("mousemove"), QString::number(screenPoint.x()), QString::number(screenPoint.y()),
         QStringLiteral("click"), QStringLiteral("1")},
        &ok);
    return ok;
}

bool TXvfb::KeyAt(const QPoint& screenPoint, const QString& key) const
{
    bool ok = false;
    Run(QStringLiteral("xdotool"),
        {QStringLiteral("mousemove"), QString::number(screenPoint.x()), QString::number(screenPoint.y()),
         QStringLiteral("key"), key},
        &ok);
    return ok;
}
