#include "app/DisplayGuard.h"

#include "app/StartOptions.h"

#include <cstdio>
#include <cstdlib>

namespace
{

constexpr int EXIT_NO_DISPLAY = 1;

// Qt's message handler is a plain function: it finds the guard here, while one lives.
TDisplayGuard* s_pActiveGuard = nullptr;

bool IsUnset(const char* name)
{
    return qEnvironmentVariableIsEmpty(name);
}

} // namespace

TDisplayGuard::TDisplayGuard()
{
    s_pActiveGuard = this;
    m_Previous = qInstallMessageHandler(&TDisplayGuard::Handle);
}

TDisplayGuard::~TDisplayGuard()
{
    Release();
}

void TDisplayGuard::Release()
{
    if (s_pActiveGuard != this)
        return;
    qInstallMessageHandler(m_Previous);
    s_pActiveGuard = nullptr;
    for (const TMessage& message : m_Held)
    {
        const QMessageLogContext context(nullptr, 0, nullptr, message.Category.constData());
        m_Previous(message.Type, context, message.Text);
    }
    m_Held.clear();
}

void TDisplayGuard::Handle(QtMsgType type, const QMessageLogContext& context, const QString& text)
{
    TDisplayGuard* guard = s_pActiveGuard;
    if (guard == nullptr)
        return;
    if (type == QtFatalMsg)
        guard->Fail(text);
    guard->m_Held.push_back({type, QByteArray(context.category), text});
}

void TDisplayGuard::Fail(const QString& fatalText) const
{
    // The platform plugin's own warning names the display it could not reach; Qt's closing
    // paragraph is about reinstalling, which would mislead here.
    QString reason = fatalText.section(QLatin1Char('\n'), 0, 0);
    for (const TMessage& message : m_Held)
    {
        if (message.Category.startsWith("qt.qpa") && message.Type == QtWarningMsg)
        {
            reason = message.Text;
            break;
        }
    }
    if (IsUnset("QT_QPA_PLATFORM") && IsUnset("DISPLAY") && IsUnset("WAYLAND_DISPLAY"))
        reason = QStringLiteral("DISPLAY is not set");
    std::fprintf(stderr, "%s: no display: %s\n", PROGRAM_FILE_NAME, qPrintable(reason));
    std::fflush(stderr);
    std::_Exit(EXIT_NO_DISPLAY);
}
