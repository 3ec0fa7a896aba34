#include "app/StartOptions.h"

#include "config/ProgrammerLocation.h"

namespace
{

const char* const HELP_TEXT = R"(Usage: hx9-control-panel [--virtual-board]
       hx9-control-panel --help | --version
The HX9 Control Panel drives the LEDs, seven-segment digits, keys and switches,
LPDDR2 and SRAM memory, SD card, ADC, UART, HDMI test patterns and HSMC loopback of
the HX9 board (Velmora Starter Board) over its JTAG link, in one window.

At start it connects by itself; when the firmware does not answer it configures
the FPGA with HX9_ControlPanel.sof from its program folder through the Quartus
programmer. One control panel runs per user.

Options:
      --virtual-board  configure the FPGA through the virtual Quartus programmer of
                       the program folder, for the bundled virtual board
  -h, --help           show this help and exit
  -V, --version        show the version and exit
Qt's own options (-platform, -display and the others) go to Qt.

Environment:
  QUARTUS_ROOTDIR      the Quartus folder whose programmer configures the FPGA
  KELVARO_JTAG_SERVER  the board's address, host:port (default 127.0.0.1:45480,
                       where the virtual board is started when nothing answers)

Exit status: 0 once the window is closed, 1 without a display, 2 for an
unknown option.
)";

} // namespace

TStartOptions TStartOptions::Parse(const QStringList& arguments)
{
    TStartOptions options;
    for (const QString& argument : arguments)
    {
        if (argument == QLatin1String("--help") || argument == QLatin1String("-h"))
            return {saHelp, QString(), false};
        if (argument == QLatin1String("--version") || argument == QLatin1String("-V"))
            return {saVersion, QString(), false};
        if (argument == QLatin1String("--virtual-board"))
            options.bVirtualBoard = true;
        else if (options.Action == saRun)
        {
            options.Action = saUnknown;
            options.Unknown = argument;
        }
    }
    return options;
}

QString StartHelp()
{
    return QString::fromUtf8(HELP_TEXT);
}

QString StartVersion()
{
    return QStringLiteral("%1 %2\n").arg(QLatin1String(PROGRAM_FILE_NAME),
                                         QLatin1String(HX9_VERSION));
}

QString UnknownOptionText(const QString& argument)
{
    return QStringLiteral("%1: unknown option '%2' (try --help)\n")
        .arg(QLatin1String(PROGRAM_FILE_NAME), argument);
}

void UseVirtualProgrammer(const QString& programFolder)
{
    qputenv(QUARTUS_ROOT_ENV,
            (programFolder + QLatin1String(VIRTUAL_QUARTUS_FOLDER)).toLocal8Bit());
}
