#pragma once

#include <QStringList>

class TCliSession;
struct TCliArguments;

// hx9ctl: reads the command line, runs one command on the board and returns the exit status.
class THx9Ctl
{
public:
    /// Runs the command given by the arguments after the program name; returns the exit status.
    int Run(const QStringList& arguments);

private:
    int RunCommand(TCliSession& session, const TCliArguments& args);
    int ShowHelp(const TCliArguments& args);

    int Connect(TCliSession& session, const QStringList& words);
    int Name(TCliSession& session, const QStringList& words);
    int Ping(TCliSession& session, const QStringList& words);
    int Leds(TCliSession& session, const QStringList& words);
    int Seg7(TCliSession& session, const QStringList& words);
    int Switches(TCliSession& session, const QStringList& words);
    int SdCard(TCliSession& session, const QStringList& words);
    int Adc(TCliSession& session, const QStringList& words);
    int Uart(TCliSession& session, const TCliArguments& args);
    int UartSend(TCliSession& session, const QStringList& words);
    int UartReceive(TCliSession& session, const TCliArguments& args);
    int Hdmi(TCliSession& session, const TCliArguments& args);
    int Hsmc(TCliSession& session, const QStringList& words);
};
