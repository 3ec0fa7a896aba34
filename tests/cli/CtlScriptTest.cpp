#include "CtlFixture.h"

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTemporaryDir>
#include <csignal>

// hx9ctl as scripts use it: --json objects, the board's address, data on standard output,
// watching, and the self-test.
namespace
{

// The one JSON object a run printed; null when stdout holds anything else.
QJsonObject OnlyObject(const TCtlResult& r)
{
    if (r.OutBytes.count('\n') != 1)
        return {};
    QJsonParseError error{};
    const QJsonDocument document = QJsonDocument::fromJson(r.OutBytes, &error);
    return error.error == QJsonParseError::NoError ? document.object() : QJsonObject();
}

// The value at "volts/0" or "cid/Product Name".
QJsonValue At(const QJsonObject& object, const QString& path)
{
    QJsonValue value = object;
    for (const QString& step : path.split('/'))
    {
        bool index = false;
        const int i = step.toInt(&index);
        value = index ? value.toArray().at(i) : value.toObject().value(step);
    }
    return value;
}

// The self-test's verdicts by check, in order.
QStringList Verdicts(const QJsonObject& selftest)
{
    QStringList verdicts;
    for (const QJsonValue& check : selftest.value("checks").toArray())
        verdicts << check["name"].toString() + ' ' + check["result"].toString();
    return verdicts;
}

} // namespace

TEST_F(CtlTest, EveryCommandPrintsOneJsonObjectWithItsNumbers)
{
    struct TCase
    {
        QStringList Control; // set up first
        QStringList Args;    // after -j
        int Status;
        QList<QPair<QString, QJsonValue>> Fields;
    };
    const TCase cases[] = {
        {{}, {"name"}, 0, {{"name", "HX9"}}},
        {{}, {"ping"}, 0, {{"answered", true}}},
        {{}, {"leds", "0x155"}, 0, {{"leds", 0x155}}},
        {{}, {"seg7", "a5"}, 0, {{"digits", 0xA5}}},
        {{"keys 0x5", "switches 0x2a5"}, {"switches"}, 0, {{"keys", 5}, {"switches", 677}}},
        {{"adc 0 3300", "adc 7 1"},
         {"adc"},
         0,
         {{"volts/0", 3.3}, {"raw/0", 3300}, {"volts/7", 0.001}, {"raw/7", 1}}},
        {{"sd fs 1"},
         {"sd"},
         0,
         {{"present", true}, {"cid/Product Name", "VSD08"}, {"file_system", "FAT16"}}},
        {{"uart receive-text abc"}, {"uart", "receive"}, 0, {{"text", "abc"}}},
        {{}, {"uart", "send", "hi"}, 0, {{"sent", 3}}},
        {{}, {"hdmi", "2"}, 0, {{"pattern", 2}, {"name", "Green"}}},
        {{"mem write sram 0x20 3412"},
         {"-m", "sram", "mem", "read", "10"},
         0,
         {{"address", 0x10}, {"word", 0x1234}}},
        {{"mem stuck sram 3 1 0x104"},
         {"-m", "sram", "mem", "test", "100", "10", "1234"},
         1,
         {{"passed", false},
          {"seed", 0x1234},
          {"failing_words", 2},
          {"passes/2/pass", "random pattern"},
          {"passes/2/failures/0/address", 0x104},
          {"passes/2/failures/0/bits", 8}}},
        {{"hsmc fail 0 0 0x1f 0x1"},
         {"hsmc"},
         1,
         {{"passed", false},
          {"xcvr_error_mask", 1},
          {"failing_pins/0", "31/29-32/30"},
          {"failing_pins/1", "39-40"}}},
        // A failure is an object too, with the messages and the usual status.
        {{"sd present 0"},
         {"sd"},
         1,
         {{"error", "Failed to access the SDCARD.\nPlease make sure a SDCARD is pluged into the "
                    "Velmora Starter Board."}}},
        {{}, {"leds"}, 2, {{"error", "leds: missing argument"}}},
        {{},
         {"-a", "127.0.0.1:1", "ping"},
         3,
         {{"error", "Fail to connect FPGA borad.\nno board answers at 127.0.0.1:1"}}},
    };
    for (const TCase& c : cases)
    {
        SCOPED_TRACE(c.Args.join(' ').toStdString());
        for (const QString& line : c.Control)
            Control(line.toStdString());
        const TCtlResult r = RunCtl(QStringList{"--json"} + c.Args);
        EXPECT_EQ(r.Status, c.Status) << Describe(r);
        const QJsonObject object = OnlyObject(r);
        ASSERT_FALSE(object.isEmpty()) << Describe(r);
        for (const auto& [path, value] : c.Fields)
            EXPECT_EQ(At(object, path), value) << path.toStdString() << "\n" << Describe(r);
    }
}

TEST_F(CtlTest, SelfTestFailsOnlyTheFaultyCheckAndSkipsAMissingCard)
{
    const QStringList all = {"link and name PASS", "keys and switches PASS", "ADC PASS",
                             "SD card PASS",       "HSMC loopback PASS",     "SRAM PASS",
                             "LPDDR2 PASS"};
    struct TCase
    {
        const char* Fault;
        int Status;
        int Row; // the row that changes, -1 for none
        const char* Verdict;
    };
    const TCase cases[] = {
        {nullptr, 0, -1, nullptr},
        {"mem stuck sram 5 0 0x2345", 1, 5, "SRAM FAIL"},
        {"sd present 0", 0, 3, "SD card SKIP"},
        {"hsmc unplug", 0, 4, "HSMC loopback SKIP"},
    };
    for (const TCase& c : cases)
    {
        SCOPED_TRACE(c.Fault ? c.Fault : "healthy");
        StartBoard(true);
        if (c.Fault)
            Control(c.Fault);
        const TCtlResult r = RunCtl({"-j", "selftest"});
        EXPECT_EQ(r.Status, c.Status) << Describe(r);
        QStringList expected = all;
        if (c.Row >= 0)
            expected[c.Row] = QLatin1String(c.Verdict);
        const QJsonObject object = OnlyObject(r);
        EXPECT_EQ(Verdicts(object), expected) << Describe(r);
        EXPECT_EQ(object.value("passed").toBool(), c.Status == 0);
    }
    const TCtlResult text = RunCtl({"selftest"});
    EXPECT_TRUE(text.Out.startsWith("PASS  link and name      HX9 (")) << Describe(text);
    EXPECT_TRUE(text.Out.contains("\nSelf-test passed (")) << Describe(text);
}

TEST_F(CtlTest, WatchPrintsTimedSamplesNoFasterThanAskedUntilCtrlC)
{
    constexpr int INTERVAL_MS = 50;
    QProcess process;
    PrepareCtl(process, {"-j", "switches", "--watch", QString::number(INTERVAL_MS)});
    process.start();
    ASSERT_TRUE(process.waitForStarted());
    while (process.peek(1 << 16).count('\n') < 3)
        ASSERT_TRUE(process.waitForReadyRead(10000));
    ::kill(static_cast<pid_t>(process.processId()), SIGINT);
    ASSERT_TRUE(process.waitForFinished(10000));
    EXPECT_EQ(process.exitCode(), 130);
    double last = 0;
    for (const QByteArray& line : process.readAllStandardOutput().split('\n'))
    {
        if (line.isEmpty())
            continue;
        const QJsonObject sample = QJsonDocument::fromJson(line).object();
        ASSERT_TRUE(sample.contains("switches")) << line.toStdString();
        const double time = sample.value("time").toDouble();
        if (last > 0)
        {
            EXPECT_GE(time - last, (INTERVAL_MS - 1) / 1000.0) << line.toStdString();
        }
        last = time;
    }
    EXPECT_TRUE(process.readAllStandardError().isEmpty()) << "Ctrl-C ends a watch quietly";
}

TEST_F(CtlTest, MemorySavedToStandardOutputEqualsTheSavedFile)
{
    QTemporaryDir dir;
    const QString saved = dir.filePath("saved.bin");
    ASSERT_EQ(RunCtl({"-m", "sram", "mem", "save", saved, "0", "3000"}).Status, 0);
    QFile file(saved);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QByteArray expected = file.readAll();
    ASSERT_EQ(expected.size(), 0x6000);

    struct TCase
    {
        const char* Target;
        bool ToFile; // stdout redirected to a file rather than a pipe
    };
    for (const TCase c : {TCase{"-", false}, TCase{"-", true}, TCase{"/dev/stdout", false},
                          TCase{"/dev/stdout", true}})
    {
        SCOPED_TRACE(std::string(c.Target) + (c.ToFile ? " > file" : " | pipe"));
        QProcess process;
        PrepareCtl(process, {"-m", "sram", "mem", "save", c.Target, "0", "3000"});
        const QString out = dir.filePath("out.bin");
        QFile::remove(out);
        if (c.ToFile)
            process.setStandardOutputFile(out);
        const TCtlResult r = RunCtl(process);
        EXPECT_EQ(r.Status, 0) << Describe(r);
        QFile written(out);
        const QByteArray data =
            c.ToFile && written.open(QIODevice::ReadOnly) ? written.readAll() : r.OutBytes;
        EXPECT_TRUE(data == expected) << data.size() << " bytes";
        EXPECT_TRUE(r.Err.contains("Load SRAM Content to a File Success.")) << Describe(r);
    }
    const TCtlResult load = RunCtl({"mem", "load", "-"});
    EXPECT_EQ(load.Status, 2);
    EXPECT_TRUE(load.Err.startsWith("hx9ctl: mem load: '-' (standard input) cannot be loaded"))
        << Describe(load);
}

TEST_F(CtlTest, TheAddressOptionWinsOverTheVariableAndTheProgrammerWarningWaitsForAFailure)
{
    QProcess reached;
    PrepareCtl(reached, {"-a", QString::fromStdString(Board().Address()), "name"});
    QProcessEnvironment environment = reached.processEnvironment();
    environment.insert("KELVARO_JTAG_SERVER", "127.0.0.1:1");
    environment.remove("QUARTUS_ROOTDIR");
    reached.setProcessEnvironment(environment);
    const TCtlResult r = RunCtl(reached);
    EXPECT_EQ(r.Status, 0) << Describe(r);
    EXPECT_EQ(r.Out, "HX9\n");
    EXPECT_TRUE(r.Err.isEmpty()) << "no programmer needed, no warning\n" << Describe(r);

    QProcess dead;
    PrepareCtl(dead, {"name"});
    dead.setProcessEnvironment(environment);
    const TCtlResult failed = RunCtl(dead);
    EXPECT_EQ(failed.Status, 3);
    EXPECT_EQ(failed.Err, "hx9ctl: Fail to connect FPGA borad.\n"
                          "hx9ctl: Failed to find Quartus installatino folder!\n"
                          "hx9ctl: no board answers at 127.0.0.1:1\n");

    Control("board-name XYZ");
    const TCtlResult other = RunCtl({"name"});
    EXPECT_EQ(other.Status, 3);
    EXPECT_TRUE(other.Err.endsWith("is not an HX9; 'hx9ctl connect' or -c configures its FPGA\n"))
        << Describe(other);
}
