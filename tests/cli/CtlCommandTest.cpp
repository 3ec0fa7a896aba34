#include "CtlFixture.h"

namespace
{
const QString ABSENT_CARD =
    QStringLiteral("hx9ctl: Failed to access the SDCARD.\n"
                   "Please make sure a SDCARD is pluged into the Velmora Starter Board.\n");
} // namespace

TEST_F(CtlTest, HelpCoversTheProgramAndEveryCommand)
{
    const TCtlResult program = RunCtl({"--help"});
    EXPECT_EQ(program.Status, 0);
    EXPECT_TRUE(program.Out.startsWith("Usage: hx9ctl [OPTION]... COMMAND"));
    EXPECT_TRUE(program.Out.contains("130  a transfer aborted with Ctrl-C"));
    EXPECT_TRUE(program.Out.contains("KELVARO_JTAG_SERVER"));
    for (const char* command : {"connect", "name", "ping", "leds", "seg7", "switches", "sd", "adc",
                                "uart", "hdmi", "hsmc", "mem", "selftest"})
    {
        const TCtlResult help = RunCtl({command, "--help"});
        EXPECT_EQ(help.Status, 0) << command;
        EXPECT_TRUE(help.Out.startsWith("Usage: hx9ctl")) << command;
        EXPECT_TRUE(help.Out.contains(command)) << command;
        EXPECT_EQ(RunCtl({"help", command}).Out, help.Out) << command;
    }
    EXPECT_EQ(RunCtl({"--version"}).Out, "hx9ctl 1.0.2\n");
}

TEST_F(CtlTest, BadArgumentsExitTwoAndLeaveTheBoardAlone)
{
    ASSERT_EQ(RunCtl({"leds", "3"}).Status, 0);
    struct TCase
    {
        QStringList Args;
        QString Err; // the first line of stderr
    };
    const TCase cases[] = {
        {{}, "hx9ctl: missing command"},
        {{"blink"}, "hx9ctl: unknown command 'blink'"},
        {{"leds", "--bogus", "1"}, "hx9ctl: unrecognized option '--bogus'"},
        {{"-m", "sram", "leds", "1"}, "hx9ctl: option '--memory' does not go with 'leds'"},
        {{"leds"}, "hx9ctl: leds: missing argument"},
        {{"leds", "40000"},
         "hx9ctl: The input value(40000) for the field 'Mask' is expected to less or equal to "
         "3FFFFh."},
        // Messages quote the argument as typed, prefix and all.
        {{"leds", "0x1G"}, "hx9ctl: Value '0x1G' is invalid for 'Mask'"},
        {{"leds", "0x"}, "hx9ctl: Value '0x' is invalid for 'Mask'"},
        {{"leds", "0x40000"},
         "hx9ctl: The input value(0x40000) for the field 'Mask' is expected to less or equal to "
         "3FFFFh."},
        {{"seg7", "12345"},
         "hx9ctl: The input value(12345) for the field 'Digits' is expected to less or equal to "
         "FFFFh."},
        {{"hdmi", "purple"},
         "hx9ctl: hdmi: unknown pattern 'purple' ('hx9ctl hdmi --list' shows them)"},
        {{"uart", "receive", "-w", "soon"},
         "hx9ctl: uart receive: invalid time 'soon' (milliseconds, 0 to 86400000)"},
        {{"--memory=flash", "mem", "read", "0"},
         "hx9ctl: mem: unknown memory 'flash' (lpddr2 or sram)"},
    };
    for (const TCase& c : cases)
    {
        const TCtlResult r = RunCtl(c.Args);
        EXPECT_EQ(r.Status, 2) << c.Args.join(' ').toStdString() << "\n" << Describe(r);
        EXPECT_EQ(r.Err.section('\n', 0, 0), c.Err) << Describe(r);
        EXPECT_TRUE(r.Out.isEmpty()) << Describe(r);
    }
    EXPECT_EQ(Control("leds"), "0x00003");
}

TEST_F(CtlTest, ConnectConfiguresABlankBoardAndOtherCommandsDoNot)
{
    ASSERT_TRUE(Board().PowerCycle());
    const TCtlResult blank = RunCtl({"ping"});
    EXPECT_EQ(blank.Status, 3) << Describe(blank);
    EXPECT_TRUE(blank.Err.startsWith("hx9ctl: Fail to connect FPGA borad.\n")) << Describe(blank);

    const TCtlResult connect = RunCtl({"connect"});
    ASSERT_EQ(connect.Status, 0) << Describe(connect);
    EXPECT_EQ(connect.Out, "Connected\n");
    EXPECT_TRUE(connect.Err.contains("Configure FPGA...\nConfigure FPGA success\n"))
        << Describe(connect);
    EXPECT_FALSE(connect.Err.contains("Connected")) << "said once, on stdout";
    EXPECT_FALSE(connect.Err.contains("Fail to connect"))
        << "the silent first attempt stays silent";
    EXPECT_EQ(RunCtl({"ping"}).Status, 0);

    // Connecting a board that already answers configures nothing.
    const TCtlResult again = RunCtl({"connect"});
    EXPECT_EQ(again.Status, 0);
    EXPECT_FALSE(again.Err.contains("Configure FPGA")) << Describe(again);

    // -c gives any command the whole sequence.
    ASSERT_TRUE(Board().PowerCycle());
    const TCtlResult configured = RunCtl({"-c", "name"});
    EXPECT_EQ(configured.Status, 0) << Describe(configured);
    EXPECT_EQ(configured.Out, "HX9\n");
}

TEST_F(CtlTest, AnotherBoardNameIsALinkFailure)
{
    Control("board-name hx9");
    const TCtlResult r = RunCtl({"name"});
    EXPECT_EQ(r.Status, 3);
    EXPECT_TRUE(r.Err.startsWith("hx9ctl: Invalid Board Name\n")) << Describe(r);
    EXPECT_TRUE(r.Out.isEmpty());
}

TEST_F(CtlTest, LedsDigitsKeysAndSwitches)
{
    EXPECT_EQ(RunCtl({"ping"}).Out, "");
    const TCtlResult leds = RunCtl({"leds", "0x155"});
    EXPECT_EQ(leds.Status, 0) << Describe(leds);
    EXPECT_EQ(leds.Out, "0x00155\n");
    EXPECT_EQ(Control("leds"), "0x00155");
    EXPECT_EQ(RunCtl({"leds", "all"}).Out, "0x3FFFF\n");
    EXPECT_EQ(Control("leds"), "0x3ffff");
    EXPECT_EQ(RunCtl({"leds", "none"}).Out, "0x00000\n");
    EXPECT_EQ(Control("leds"), "0x00000");

    EXPECT_EQ(RunCtl({"seg7", "a5"}).Out, "00A5\n");
    EXPECT_EQ(Control("seg7"), "digits=00a5 word=0x000000a5 extra=0x00");

    Control("keys 0x5");
    Control("switches 0x201");
    const TCtlResult inputs = RunCtl({"switches"});
    EXPECT_EQ(inputs.Status, 0);
    EXPECT_EQ(inputs.Out, "keys 0x5\nswitches 0x201\n");
}

TEST_F(CtlTest, SdCardReportOrItsAbsence)
{
    Control("sd fs 1");
    const TCtlResult card = RunCtl({"sd"});
    ASSERT_EQ(card.Status, 0) << Describe(card);
    const QStringList lines = card.Out.split('\n');
    EXPECT_EQ(lines.value(0), "Card Identification");
    EXPECT_TRUE(lines.value(1).startsWith("-Manufacturer ID:"));
    EXPECT_TRUE(lines.contains("Card Specific Data"));
    EXPECT_TRUE(card.Out.endsWith("\nFile System: FAT16\n")) << Describe(card);

    Control("sd present 0");
    const TCtlResult none = RunCtl({"sd"});
    EXPECT_EQ(none.Status, 1);
    EXPECT_EQ(none.Err, ABSENT_CARD);
    EXPECT_TRUE(none.Out.isEmpty());
}

TEST_F(CtlTest, AdcPrintsTheEightChannelLines)
{
    Control("adc 0 3300");
    Control("adc 7 1");
    const TCtlResult r = RunCtl({"adc"});
    ASSERT_EQ(r.Status, 0) << Describe(r);
    const QStringList lines = r.Out.split('\n', Qt::SkipEmptyParts);
    ASSERT_EQ(lines.size(), 8) << Describe(r);
    EXPECT_EQ(lines[0], "CH0: 3.300 V");
    EXPECT_EQ(lines[7], "CH7: 0.001 V");
    EXPECT_FALSE(r.Out.contains('\r'));
}

TEST_F(CtlTest, UartSendsWithTheZeroByteAndReceives)
{
    const TCtlResult sent = RunCtl({"uart", "send", "hello", "world"});
    EXPECT_EQ(sent.Status, 0) << Describe(sent);
    EXPECT_EQ(Control("uart sent"), QByteArray("hello world\0", 12).toHex().toStdString());

    Control("uart receive-text abc");
    const TCtlResult got = RunCtl({"uart", "receive"});
    EXPECT_EQ(got.Status, 0) << Describe(got);
    EXPECT_EQ(got.Out, "abc\n") << "the output ends its line";
    // The firmware's monitor runs only while the command does.
    EXPECT_EQ(Control("uart").rfind("running=0", 0), 0u);
}

TEST_F(CtlTest, HdmiPatternByNameOrNumber)
{
    const TCtlResult list = RunCtl({"hdmi", "--list"});
    EXPECT_EQ(list.Status, 0);
    EXPECT_EQ(list.Out.count('\n'), 9);
    EXPECT_TRUE(list.Out.startsWith("0 Color Scale\n1 Red\n"));

    const TCtlResult byName = RunCtl({"hdmi", "blue-scale"});
    EXPECT_EQ(byName.Status, 0) << Describe(byName);
    EXPECT_EQ(byName.Out, "8 Blue Scale\n");
    EXPECT_EQ(Control("hdmi"), "running=1 pattern=8");
    EXPECT_EQ(RunCtl({"hdmi", "Red", "Scale"}).Out, "6 Red Scale\n");
    EXPECT_EQ(RunCtl({"hdmi", "2"}).Out, "2 Green\n");
    EXPECT_EQ(Control("hdmi"), "running=1 pattern=2");
}

TEST_F(CtlTest, HsmcPassesOrListsTheFailingPinsWithStatusOne)
{
    const TCtlResult pass = RunCtl({"hsmc"});
    EXPECT_EQ(pass.Status, 0) << Describe(pass);
    EXPECT_EQ(pass.Out, "HSMC Loopback Test: PASS\n");

    Control("hsmc fail 0 0 0x1f 0x1");
    const TCtlResult ng = RunCtl({"hsmc"});
    EXPECT_EQ(ng.Status, 1);
    EXPECT_EQ(ng.Out, "HSMC Loopback Test: NG\nHSMC Test:NG\n<Transceiver Error:>\n"
                      "HSMC Pin 31/29-32/30    \n<IO Error:>\nHSMC Pin 39-40    \n"
                      "HSMC Pin 97-98    \nHSMC Pin 99-100    \nHSMC Pin 157-158    \n"
                      "HSMC Pin 159-160    \n");
}

TEST_F(CtlTest, AnInjectedLinkFaultExitsThree)
{
    // The name check's reply goes through; the command's reply is broken.
    ASSERT_TRUE(Board().InjectFault("delay 0 1"));
    ASSERT_TRUE(Board().InjectFault("checksum 3"));
    const TCtlResult leds = RunCtl({"leds", "1"});
    EXPECT_EQ(leds.Status, 3) << Describe(leds);
    EXPECT_EQ(leds.Err, "hx9ctl: leds: the board did not take the LED mask\n");
    ASSERT_TRUE(Board().ClearFaults());

    ASSERT_TRUE(Board().InjectFault("delay 0 1"));
    ASSERT_TRUE(Board().InjectFault("drop"));
    const TCtlResult hsmc = RunCtl({"hsmc"});
    EXPECT_EQ(hsmc.Status, 3) << Describe(hsmc);
    EXPECT_EQ(hsmc.Err, "hx9ctl: Failed to perform HSMC test\n");
}
