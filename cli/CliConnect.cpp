#include "cli/CliConnect.h"

#include "cli/Console.h"

TCliConnect::TCliConnect(TConsole& console, bool verbose) : m_Console(console), m_bVerbose(verbose)
{
}

void TCliConnect::SetInfo(const QString& text, TInfoColour colour)
{
    if (colour == TInfoColour::Red && !m_HeldFailure)
    {
        m_HeldFailure = text;
        m_LastInfo = text;
        return;
    }
    // The sequence writes "Configure FPGA..." twice around the gauge start; one line says it.
    if (text != m_LastInfo)
        Print(text);
    m_LastInfo = text;
}

void TCliConnect::SetConnectStatus(const QString&, TInfoColour) {}

void TCliConnect::SetConnectLook(bool connected)
{
    if (!connected && m_HeldFailure)
        Print(*m_HeldFailure);
    m_HeldFailure = QString(); // from now on failures are printed as they come
    // "Connected" is the connect command's result, on stdout.
    if (m_LastConnected != connected && !connected)
        Print(QString::fromLatin1(TEXT_DISCONNECTED));
    m_LastConnected = connected;
}

void TCliConnect::Print(const QString& text)
{
    if (m_bVerbose && !text.isEmpty())
        m_Console.Info(text);
}
