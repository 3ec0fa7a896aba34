#include "cli/CommandTable.h"

#include "cli/BoardCommands.h"
#include "cli/CliHelp.h"
#include "cli/IoCommands.h"
#include "cli/MemoryCommands.h"
#include "cli/SelfTestCommand.h"
#include "cli/UartCommands.h"

#include <QRegularExpression>

#include <algorithm>

namespace
{

const char* const CONNECT_HELP = R"(Usage: hx9ctl connect
Open the link and ask the firmware its name. When it does not answer, configure
the FPGA with HX9_ControlPanel.sof from the program folder through the Quartus
programmer (QUARTUS_ROOTDIR) and try once more. The name must be "HX9".
Prints the steps on standard error and "Connected" on standard output.
)";

const char* const NAME_HELP = R"(Usage: hx9ctl [-c] name
Print the board name the firmware reports.
)";

const char* const PING_HELP = R"(Usage: hx9ctl [-c] ping
Check that the firmware answers. Prints nothing; the exit status tells.
)";

const char* const LEDS_HELP = R"(Usage: hx9ctl [-c] leds MASK|all|none
Light exactly the LEDs whose bits are set in MASK (hex, at most 3FFFF): bits 0-7
are GLED0-GLED7, bits 8-17 RLED0-RLED9. "all" lights all 18, "none" none.
Prints the mask sent, e.g. 0x3FFFF.
)";

const char* const SEG7_HELP = R"(Usage: hx9ctl [-c] seg7 DIGITS
Show up to four hex digits on HEX3..HEX0: the last digit goes to HEX0, missing
leading digits are 0 (seg7 1234: 1 on HEX3, 4 on HEX0). Prints the four digits sent.
)";

const char* const SWITCHES_HELP = R"(Usage: hx9ctl [-c] switches [--watch MS]
Print the push-buttons and slide switches, a set bit for a key pressed or a
switch up: "keys 0xK" (bit i is KEYi) and "switches 0xS" (bit j is SWj).
--watch MS: a line "HH:MM:SS.mmm keys 0xK, switches 0xS" every MS milliseconds
(the next read starts when the last one ended, never sooner than MS after it
started) until Ctrl-C, exit status 130; 3 when the link fails.
)";

const char* const SD_HELP = R"(Usage: hx9ctl [-c] sd
Print the SD card report of the SD card panel: "Card Identification" and the CID
lines, "Card Specific Data" and the CSD lines, then "File System: " and FAT16,
FAT32 or NA. Exit status 1 when no card can be read.
)";

const char* const ADC_HELP = R"(Usage: hx9ctl [-c] adc [--watch MS]
Print the eight ADC channels, one line each: "CH0: 3.300 V".
--watch MS: the eight on one line with the time, every MS milliseconds (the next
read starts when the last one ended, never sooner than MS after it started)
until Ctrl-C, exit status 130; 3 when the link fails.
)";

const char* const UART_HELP = R"(Usage: hx9ctl [-c] uart send TEXT...
       hx9ctl [-c] uart receive [-w MS]
send: send the words of TEXT joined by blanks, and a terminating zero byte, out of
the board's UART-to-USB port.
receive: print the bytes the UART received (up to the first zero byte of each
block), as they are. With -w MS keep polling every 100 ms for MS milliseconds.
The UART monitor of the firmware runs only during the command.
)";

const char* const HDMI_HELP = R"(Usage: hx9ctl [-c] hdmi PATTERN
       hx9ctl hdmi --list
Start the HDMI transmitter and show a test pattern, given by its number or its
name (any case, '-' for blanks: blue-scale). Prints the number and name sent.
)";

const char* const HSMC_HELP = R"(Usage: hx9ctl [-c] hsmc
Run the HSMC loopback test (the loopback adapter must be plugged in). Prints
"HSMC Loopback Test: PASS", or "HSMC Loopback Test: NG" and the report of the
failing pins with exit status 1.
)";

const char* const MEM_HELP = R"(Usage: hx9ctl [-c] [-m lpddr2|sram] mem read ADDRESS
       hx9ctl [-c] [-m lpddr2|sram] mem write ADDRESS DATA
       hx9ctl [-c] [-m lpddr2|sram] mem save FILE [ADDRESS LENGTH]
       hx9ctl [-c] [-m lpddr2|sram] mem load FILE [ADDRESS [LENGTH]]
       hx9ctl [-c] [-m lpddr2|sram] mem test [ADDRESS LENGTH [SEED]]
Memories: lpddr2 (10000000h words, the default) and sram (40000h words).
ADDRESS and LENGTH count 16-bit words, in hex; DATA is a hex word (at most FFFF).
read: print the word as four hex digits. write: write one word.
save: save LENGTH words from ADDRESS to FILE, or the entire memory without a range.
  FILE is replaced only when the whole range was read; after a failure or Ctrl-C
  any existing FILE is left as it was. FILE - (or /dev/stdout) writes the data
  to standard output (not with --json) and the result line to standard error.
load: write FILE to memory from ADDRESS (default 0): LENGTH words, or without
  LENGTH the whole file, cut at the end of the memory; prints the result and, in
  the latter case, "Length: N" with the words written (hex). Nothing is sent when
  the file is too short or a HEX file holds anything but hex digits. FILE -
  (standard input) is refused: its length is not known before the transfer.
FILE ending in .hex (any case) is HEX text, two digits per byte, lowest address
first (the word 1234 at address 0 is 3412); any other file is raw binary.
test: test LENGTH words from ADDRESS (the entire memory without a range): each
  data bit alone at ADDRESS, each address line alone, then three patterns each
  written through the range and read back: a pseudo-random one (from SEED, hex,
  or a fresh one; printed), its complement (every bit of every word is then seen
  at 0 and at 1) and each word's own address (its low 16 bits XOR its high 16
  bits). Prints each pass's result and its first failing words with the bits
  that differ, then the passes that found failing words; exit status 1 when any
  word failed. The range's content is overwritten.
Ctrl-C (or SIGTERM) aborts a save, load or test between chunks; what was written
stays written, and a save leaves no file behind.
)";

const char* const SELFTEST_HELP = R"(Usage: hx9ctl [-c] selftest
Check the whole board in one run, for bring-up and production tests:
  link and name       the firmware answers "HX9"
  keys and switches   they can be read
  ADC                 the eight channels can be read
  SD card             the card's report can be read (SKIP with no card)
  HSMC loopback       no failing pin (SKIP when the board refuses the test,
                      e.g. without the loopback adapter)
  SRAM                the whole memory test (data bus, address lines, a random
                      pattern, its complement, own address)
  LPDDR2              data bus, every address line, a random pattern and its
                      complement over the first MB
Prints a row per check as it ends, PASS, FAIL or SKIP with its detail and time,
then the total time. THE SRAM AND LPDDR2 CONTENTS ARE OVERWRITTEN.
Exit status 1 when a check failed; 3 when the link failed (the checks left are
SKIP, "not run"); 130 after Ctrl-C.
)";

int RunMemory(TCliSession& session, const TCliArguments& args)
{
    return TMemoryCommands(session).Run(args);
}

} // namespace

const std::vector<TCliOption>& CliOptions()
{
    static const std::vector<TCliOption> options = {
        {.Short = 'c',
         .Long = OPTION_CONFIGURE,
         .Global = true,
         .Help = "configure the FPGA with HX9_ControlPanel.sof first when the\n"
                 "firmware does not answer (connect always does)"},
        {.Short = 'm',
         .Long = OPTION_MEMORY,
         .Value = "NAME",
         .Help = "lpddr2 (default) or sram, for the mem commands"},
        {.Short = 'w',
         .Long = OPTION_WAIT,
         .Value = "MS",
         .Help = "uart receive: keep receiving for MS milliseconds"},
        {.Short = 'l', .Long = OPTION_LIST, .Help = "hdmi: list the patterns"},
        {.Long = OPTION_WATCH,
         .Value = "MS",
         .Help = "switches, adc: print a sample every MS milliseconds, one line\n"
                 "each with its time, until Ctrl-C (exit status 130)"},
        {.Short = 'j',
         .Long = OPTION_JSON,
         .Global = true,
         .Help = "print the result as one JSON object on standard output and\n"
                 "nothing else there (with --watch one object per line); a\n"
                 "failure prints {\"error\": MESSAGE}; 'hx9ctl help COMMAND'\n"
                 "shows the command's object"},
        {.Short = 'a',
         .Long = OPTION_ADDRESS,
         .Value = "HOST:PORT",
         .Global = true,
         .Help = "the board's JTAG server ([v6-host]:PORT for IPv6); wins over\n"
                 "KELVARO_JTAG_SERVER, whose default is 127.0.0.1:45480"},
        {.Short = 'h',
         .Long = OPTION_HELP,
         .Global = true,
         .Help = "show help (after a command: that command's help)"},
        {.Short = 'V', .Long = OPTION_VERSION, .Global = true, .Help = "show the version"},
    };
    return options;
}

const std::vector<TCliCommand>& CliCommands()
{
    static const std::vector<TCliCommand> commands = {
        {.Name = "connect",
         .Run = RunConnect,
         .Usages = {{"connect", "make sure the FPGA holds its image and the board answers"}},
         .Help = CONNECT_HELP,
         .Json = R"({"connected": true})"},
        {.Name = "name",
         .Run = RunName,
         .Usages = {{"name", "print the board name the firmware reports"}},
         .Help = NAME_HELP,
         .Json = R"({"name": "HX9"})"},
        {.Name = "ping",
         .Run = RunPing,
         .Usages = {{"ping", "check that the firmware answers"}},
         .Help = PING_HELP,
         .Json = R"({"answered": true})"},
        {.Name = "leds",
         .Run = RunLeds,
         .Arguments = 1,
         .Usages = {{"leds MASK|all|none", "light the LEDs of MASK (bits 0-7 green, 8-17 red)"}},
         .Help = LEDS_HELP,
         .Json = R"({"leds": 1023}: the mask sent)"},
        {.Name = "seg7",
         .Run = RunSeg7,
         .Arguments = 1,
         .Usages = {{"seg7 DIGITS",
                     "show up to four hex digits, HEX3 first (1234 shows 1 on HEX3)"}},
         .Help = SEG7_HELP,
         .Json = R"({"digits": 4660}: the digits sent, 4660 for 1234)"},
        {.Name = "switches",
         .Run = RunSwitches,
         .Options = {OPTION_WATCH},
         .Usages = {{"switches", "print the keys (bits 0-3) and switches (bits 0-9)"}},
         .Help = SWITCHES_HELP,
         .Json = R"({"keys": 5, "switches": 677}; with --watch one per line, with
"time": seconds since 1970-01-01 UTC)"},
        {.Name = "sd",
         .Run = RunSdCard,
         .Usages = {{"sd", "print the SD card's CID and CSD reports and its file system"}},
         .Help = SD_HELP,
         .Json = R"({"present": true, "cid": {"Manufacturer ID": "5Ah", ...},
"csd": {"CSD Version": "2.0", ...}, "file_system": "FAT32"}: the
report's fields as printed)"},
        {.Name = "adc",
         .Run = RunAdc,
         .Options = {OPTION_WATCH},
         .Usages = {{"adc", "print the eight ADC channels in volts"}},
         .Help = ADC_HELP,
         .Json = R"({"volts": [3.3, ...], "raw": [3300, ...]}: the eight channels and
the words they reported; with --watch one per line, with "time")"},
        {.Name = "uart",
         .Run = RunUart,
         .Arguments = ARGUMENTS_CHECKED_BY_HANDLER,
         .Options = {OPTION_WAIT},
         .Usages = {{"uart send TEXT...",
                     "send TEXT (and its terminating zero byte) out of the UART"},
                    {"uart receive", "print what the UART received"}},
         .Help = UART_HELP,
         .Json = R"(send: {"sent": 6}, the bytes sent with the zero byte;
receive: {"text": "..."}, all that was received)"},
        {.Name = "hdmi",
         .Run = RunHdmi,
         .Arguments = ARGUMENTS_CHECKED_BY_HANDLER,
         .Options = {OPTION_LIST},
         .Usages = {{"hdmi PATTERN", "choose an HDMI test pattern (hdmi --list shows them)"}},
         .Help = HDMI_HELP,
         .Json = R"({"pattern": 3, "name": "Blue Scale"}; --list: {"patterns":
[{"pattern": 0, "name": ...}, ...]})"},
        {.Name = "hsmc",
         .Run = RunHsmc,
         .Usages = {{"hsmc", "run the HSMC loopback test and list failing pins"}},
         .Help = HSMC_HELP,
         .Json = R"({"passed": false, "io_error_mask": 1, "xcvr_error_mask": 0,
"failing_pins": ["39-40"]})"},
        {.Name = "mem",
         .Run = RunMemory,
         .Arguments = ARGUMENTS_CHECKED_BY_HANDLER,
         .Options = {OPTION_MEMORY},
         .Usages = {{"mem read ADDRESS", "print one 16-bit word of memory"},
                    {"mem write ADDRESS DATA", "write one 16-bit word"},
                    {"mem save FILE [ADDRESS LENGTH]",
                     "save memory to FILE (the entire memory without a range)"},
                    {"mem load FILE [ADDRESS [LENGTH]]",
                     "write FILE to memory (its whole length without LENGTH)"},
                    {"mem test [ADDRESS LENGTH [SEED]]",
                     "test the memory: buses, random, complement, own address"}},
         .Help = MEM_HELP,
         .Json = R"(read: {"address": 16, "word": 4660}; write: {"address": 16,
"data": 4660}; save, load: {"words": 32768, "bytes": 65536,
"seconds": 0.4}; test: {"memory": "SRAM", "address": 0, "length":
262144, "seed": 4660, "passed": false, "failing_words": 1, "passes":
[{"pass": "data bus", "passed": false, "failing_words": 1, "failures":
[{"address": 16, "expected": 1, "read": 0, "bits": 1}]}, ...]})"},
        {.Name = "selftest",
         .Run = RunSelfTest,
         .Usages = {{"selftest", "check every peripheral; overwrites SRAM and LPDDR2"}},
         .Help = SELFTEST_HELP,
         .Json = R"({"passed": false, "seconds": 9.8, "seed": 4660, "checks": [{"name":
"SD card", "result": "SKIP", "detail": "no SD card", "seconds": 0.1}, ...]},
with "error" when the checks stopped early)"},
        {.Name = "help",
         .Run = RunHelp,
         .Arguments = ARGUMENTS_CHECKED_BY_HANDLER,
         .Usages = {{"help [COMMAND]", "show this help or a command's help"}}},
    };
    return commands;
}

const TCliOption* FindCliOption(const QString& longName)
{
    const auto& options = CliOptions();
    const auto it = std::find_if(options.begin(), options.end(),
                                 [&](const TCliOption& option)
                                 { return longName == QLatin1String(option.Long); });
    return it == options.end() ? nullptr : &*it;
}

const TCliOption* FindCliOption(QChar letter)
{
    const auto& options = CliOptions();
    const auto it =
        std::find_if(options.begin(), options.end(),
                     [&](const TCliOption& option)
                     { return option.Short != 0 && letter == QLatin1Char(option.Short); });
    return it == options.end() ? nullptr : &*it;
}

const TCliCommand* FindCliCommand(const QString& name)
{
    const auto& commands = CliCommands();
    const auto it = std::find_if(commands.begin(), commands.end(),
                                 [&](const TCliCommand& command)
                                 { return name == QLatin1String(command.Name); });
    return it == commands.end() ? nullptr : &*it;
}

bool CommandTakesOption(const TCliCommand& command, const TCliOption& option)
{
    return option.Global ||
           std::any_of(command.Options.begin(), command.Options.end(),
                       [&](const char* name)
                       { return QLatin1String(name) == QLatin1String(option.Long); });
}

QStringList SynopsisWords(const QString& synopsis)
{
    static const QRegularExpression separators(QStringLiteral("[\\s\\[\\]]+"));
    return synopsis.split(separators, Qt::SkipEmptyParts);
}

QStringList WordForms(const QString& word)
{
    QStringList forms = word.split(QLatin1Char('|'));
    for (QString& form : forms)
    {
        if (form.endsWith(QLatin1String("...")))
            form.chop(3);
    }
    return forms;
}

bool IsPlaceholder(const QString& form)
{
    static const QRegularExpression capitals(
        QStringLiteral("^[A-Z][A-Z0-9_]*(:[A-Z][A-Z0-9_]*)*$"));
    return capitals.match(form).hasMatch();
}

QString SubCommandOf(const QString& synopsis)
{
    const QString second = SynopsisWords(synopsis).value(1);
    const bool sub =
        !second.isEmpty() && second.front().isLower() && !second.contains(QLatin1Char('|'));
    return sub ? second : QString();
}
