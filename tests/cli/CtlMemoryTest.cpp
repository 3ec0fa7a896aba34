#include "CtlFixture.h"
#include "tests/support/ScratchFolder.h"

#include <QRandomGenerator>
#include <QStandardPaths>
#include <csignal>

namespace
{

class CtlMemoryTest : public CtlTest, protected hx9test::TScratchFolder
{
protected:
    static QByteArray RandomBytes(int count)
    {
        QByteArray bytes(count, '\0');
        QRandomGenerator generator(count);
        for (char& b : bytes)
            b = static_cast<char>(generator.bounded(256));
        return bytes;
    }

    struct TAborted
    {
        int Status = -1;
        QString Err;
    };

    // Runs hx9ctl with slowed replies, sends signal once stderr shows text, and waits.
    TAborted AbortWith(int signal, const QStringList& arguments, const QByteArray& text)
    {
        TAborted result;
        // Slow replies so that the transfer is surely running when the signal comes.
        EXPECT_TRUE(Board().InjectFault("delay 100 200"));
        QProcess process;
        PrepareCtl(process, arguments);
        process.setReadChannel(QProcess::StandardError);
        process.start();
        EXPECT_TRUE(process.waitForStarted());
        QByteArray err;
        while (!err.contains(text) && process.waitForReadyRead(60000))
            err += process.readAllStandardError();
        EXPECT_TRUE(err.contains(text)) << err.toStdString();
        ::kill(static_cast<pid_t>(process.processId()), signal);
        EXPECT_TRUE(process.waitForFinished(60000));
        err += process.readAllStandardError();
        if (process.exitStatus() == QProcess::NormalExit)
            result.Status = process.exitCode();
        result.Err = QString::fromLocal8Bit(err);
        return result;
    }
};

} // namespace

TEST_F(CtlMemoryTest, OneWordWrittenAndReadBackLowByteFirst)
{
    const TCtlResult write = RunCtl({"-m", "sram", "mem", "write", "3FFFF", "0x1234"});
    EXPECT_EQ(write.Status, 0) << Describe(write);
    EXPECT_EQ(Control("mem read sram 0x7fffe 2"), "3412");
    const TCtlResult read = RunCtl({"mem", "read", "3ffff", "--memory", "SRAM"});
    EXPECT_EQ(read.Status, 0) << Describe(read);
    EXPECT_EQ(read.Out, "1234\n");

    const TCtlResult outside = RunCtl({"-msram", "mem", "read", "40000"});
    EXPECT_EQ(outside.Status, 2);
    EXPECT_EQ(outside.Err,
              "hx9ctl: The input value(40000) for the field 'Address' is expected to less "
              "or equal to 3FFFFh.\nhx9ctl: SRAM Random Read Fail\n");
    const TCtlResult data = RunCtl({"mem", "write", "0", "10000"});
    EXPECT_EQ(data.Status, 2);
    EXPECT_TRUE(data.Err.endsWith("to FFFFh.\nhx9ctl: LPDDR2 Random Write Fail\n"))
        << Describe(data);
}

TEST_F(CtlMemoryTest, RoundTripThroughBinaryAndHexFiles)
{
    const QByteArray content = RandomBytes(100000); // several chunks, not a multiple of them
    const QString in = Make("in.bin", content);

    const TCtlResult load = RunCtl({"-m", "sram", "mem", "load", in, "10"});
    ASSERT_EQ(load.Status, 0) << Describe(load);
    EXPECT_TRUE(load.Out.startsWith("Write a File to SRAM Success.[")) << Describe(load);
    EXPECT_TRUE(load.Out.endsWith("sec]\nLength: C350\n")) << Describe(load);

    const TCtlResult saveBin = RunCtl({"-m", "sram", "mem", "save", Path("out.bin"), "10", "C350"});
    ASSERT_EQ(saveBin.Status, 0) << Describe(saveBin);
    EXPECT_TRUE(saveBin.Out.startsWith("Load SRAM Content to a File Success. ("))
        << Describe(saveBin);
    EXPECT_EQ(Read(Path("out.bin")), content);

    const TCtlResult saveHex = RunCtl({"-m", "sram", "mem", "save", Path("out.HEX"), "10", "C350"});
    ASSERT_EQ(saveHex.Status, 0) << Describe(saveHex);
    EXPECT_EQ(Read(Path("out.HEX")), content.toHex().toUpper());

    // The HEX file back into the other memory, with a given length, and out again.
    const TCtlResult loadHex = RunCtl({"mem", "load", Path("out.HEX"), "2000000", "C350"});
    ASSERT_EQ(loadHex.Status, 0) << Describe(loadHex);
    EXPECT_FALSE(loadHex.Out.contains("Length:"));
    ASSERT_EQ(RunCtl({"mem", "save", Path("back.bin"), "2000000", "C350"}).Status, 0);
    EXPECT_EQ(Read(Path("back.bin")), content);
}

TEST_F(CtlMemoryTest, RelativePathsNameFilesInTheCallersFolder)
{
    // Opening the link changes the current folder; the file must still land here.
    QProcess process;
    PrepareCtl(process, {"-m", "sram", "mem", "save", "rel.bin", "0", "8"});
    process.setWorkingDirectory(Path());
    process.start();
    ASSERT_TRUE(process.waitForFinished(60000));
    EXPECT_EQ(process.exitCode(), 0) << process.readAllStandardError().toStdString();
    EXPECT_EQ(Read(Path("rel.bin")).size(), 16);
}

TEST_F(CtlMemoryTest, BadFilesSendNothingAndExitTwo)
{
    Control("mem write sram 0 a5a5a5a5");
    const QString shortFile = Make("short.bin", QByteArray(3, 'x'));
    const TCtlResult tooShort = RunCtl({"-m", "sram", "mem", "load", shortFile, "0", "2"});
    EXPECT_EQ(tooShort.Status, 2);
    EXPECT_TRUE(
        tooShort.Err.startsWith(QString("hx9ctl: File(%1) size is less than the specified length.\n"
                                        "hx9ctl: Write a File to SRAM Fail.[")
                                    .arg(shortFile)))
        << Describe(tooShort);

    const TCtlResult badHex = RunCtl({"-m", "sram", "mem", "load", Make("bad.hex", "0011\n2233")});
    EXPECT_EQ(badHex.Status, 2);
    EXPECT_TRUE(badHex.Err.startsWith("hx9ctl: invalid hex file.\n")) << Describe(badHex);

    const TCtlResult missing = RunCtl({"mem", "load", Path("missing.bin")});
    EXPECT_EQ(missing.Status, 2);
    EXPECT_TRUE(
        missing.Err.startsWith(QString("hx9ctl: cannot open '%1'").arg(Path("missing.bin"))));

    const TCtlResult length = RunCtl({"-m", "sram", "mem", "load", shortFile, "3FFF0", "11"});
    EXPECT_EQ(length.Status, 2);
    EXPECT_EQ(length.Err,
              "hx9ctl: The input value(11) for the field 'Length' is expected to less or "
              "equal to 10h.\nhx9ctl: Invalud Input Data.\n");
    EXPECT_EQ(Control("mem read sram 0 4"), "a5a5a5a5");
}

TEST_F(CtlMemoryTest, ALinkFaultDuringASaveKeepsTheOldFile)
{
    const QString keep = Make("keep.bin", "old content");
    // Name check and keep-alive pass, then the link drops in the middle of the read.
    ASSERT_TRUE(Board().InjectFault("delay 0 4"));
    ASSERT_TRUE(Board().InjectFault("drop"));
    const TCtlResult r = RunCtl({"-m", "sram", "mem", "save", keep});
    EXPECT_EQ(r.Status, 3) << Describe(r);
    EXPECT_TRUE(r.Err.contains("hx9ctl: Load SRAM Content to a File Fail. (")) << Describe(r);
    EXPECT_EQ(Read(keep), "old content");
    EXPECT_EQ(Entries(), QStringList{"keep.bin"});
}

TEST_F(CtlMemoryTest, CtrlCAbortsASaveAndWritesNoFile)
{
    const QString keep = Make("keep.bin", "old content");
    const TAborted r =
        AbortWith(SIGINT, {"-m", "sram", "mem", "save", keep}, "Load SRAM Content to a File...");
    EXPECT_EQ(r.Status, 130) << r.Err.toStdString();
    EXPECT_TRUE(r.Err.endsWith("hx9ctl: Load SRAM Content to a File Aborted.\n"))
        << r.Err.toStdString();
    EXPECT_EQ(Read(keep), "old content");
    EXPECT_EQ(Entries(), QStringList{"keep.bin"});
}

TEST_F(CtlMemoryTest, TerminateAbortsALoadAfterTheChunksSoFar)
{
    const QByteArray content = RandomBytes(0x10000);
    const QString in = Make("in.bin", content);
    Control("mem write sram 0x10000 ee");
    const TAborted r =
        AbortWith(SIGTERM, {"-m", "sram", "mem", "load", in}, "Write a File to SRAM...");
    EXPECT_EQ(r.Status, 130) << r.Err.toStdString();
    EXPECT_TRUE(r.Err.endsWith("hx9ctl: Write a File to SRAM Aborted.\n")) << r.Err.toStdString();
    // Whole chunks (a twentieth of 64 KB each) went out before the abort, then nothing: the
    // rest is memory never written, and nothing after the file's end.
    constexpr int CHUNK = 3276;
    const QByteArray written =
        QByteArray::fromHex(QByteArray::fromStdString(Control("mem read sram 0 65536")));
    ASSERT_EQ(written.size(), content.size());
    int sent = 0;
    while (sent + CHUNK <= content.size() && written.mid(sent, CHUNK) == content.mid(sent, CHUNK))
        sent += CHUNK;
    EXPECT_EQ(written.mid(sent), QByteArray(content.size() - sent, '\xff'));
    EXPECT_EQ(Control("mem read sram 0x10000 1"), "ee");
}

TEST_F(CtlMemoryTest, ProgressLineOnlyOnATerminal)
{
    const QStringList args = {"-m", "sram", "mem", "save", Path("p.bin"), "0", "8000"};
    const TCtlResult plain = RunCtl(args);
    ASSERT_EQ(plain.Status, 0) << Describe(plain);
    EXPECT_EQ(plain.Err, "Load SRAM Content to a File...\n");

    // script(1) gives the program a terminal; its output is what the terminal showed.
    if (QStandardPaths::findExecutable(QStringLiteral("script")).isEmpty())
        GTEST_SKIP() << "script(1) is not installed (package bsdutils)";
    QProcess process;
    PrepareCtl(process, {});
    const QString command = (QStringList{process.program()} + args).join(' ');
    process.setProgram(QStringLiteral("script"));
    process.setArguments({"-qec", command, "/dev/null"});
    process.start();
    ASSERT_TRUE(process.waitForFinished(60000));
    const QString shown = QString::fromLocal8Bit(process.readAllStandardOutput());
    EXPECT_EQ(process.exitCode(), 0) << shown.toStdString();
    EXPECT_TRUE(shown.contains("Finish Percentage: 4%\r\x1b[KFinish Percentage: 9%"))
        << shown.toStdString();
    EXPECT_TRUE(shown.contains("Finish Percentage: 100%\r\n")) << shown.toStdString();
}
