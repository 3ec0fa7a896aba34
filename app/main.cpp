#include "app/Application.h"
#include "app/DisplayGuard.h"
#include "app/GuiHost.h"
#include "app/StartOptions.h"

#include <cstdio>

namespace
{

constexpr int EXIT_BAD_OPTION = 2;

QStringList ArgumentsAfterName(int argc, char** argv)
{
    QStringList arguments;
    for (int i = 1; i < argc; ++i)
        arguments << QString::fromLocal8Bit(argv[i]);
    return arguments;
}

int Print(std::FILE* stream, const QString& text, int status)
{
    std::fputs(qPrintable(text), stream);
    return status;
}

} // namespace

int main(int argc, char** argv)
{
    // --help and --version need no display: answer them before Qt looks for one.
    const TStartOptions early = TStartOptions::Parse(ArgumentsAfterName(argc, argv));
    if (early.Action == TStartOptions::saHelp)
        return Print(stdout, StartHelp(), 0);
    if (early.Action == TStartOptions::saVersion)
        return Print(stdout, StartVersion(), 0);

    TDisplayGuard guard;
    TApplication application(argc, argv);
    guard.Release();
    // What is left once Qt took its own options is nobody's.
    const TStartOptions options = TStartOptions::Parse(ArgumentsAfterName(argc, argv));
    if (options.Action == TStartOptions::saUnknown)
        return Print(stderr, UnknownOptionText(options.Unknown), EXIT_BAD_OPTION);

    TGuiHost host;
    if (options.bVirtualBoard)
        UseVirtualProgrammer(host.ProgramFolder());
    application.SetHost(&host);
    const int status = RunControlPanel(host);
    application.SetHost(nullptr);
    return status;
}
