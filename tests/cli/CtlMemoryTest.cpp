#include "CtlFixture.h"

#include <QDir>
#include <QFile>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <csignal>

namespace
{

class CtlMemoryTest : public CtlTest
{
protected:
    QString Path(const QString& name) const { return m_Dir.filePath(name); }

    QString Make(const QString& name, const QByteArray& content) const
    {
        QFile file(Path(name));
        EXPECT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(content);
        return file.fileName();
    }

    static QByteArray Read(const QString& path)
    {
        QFile file(path);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }

    QStringList Entries() const { return QDir(m_Dir.path()).entryList(QDir::Files | QDir::Hidden); }

    static QByteArray RandomBytes(int count)
    {
        QByteArray bytes(count, '\0');
        QRandomGenerator generator(count);
        for (char& b : bytes)
            b = static_cast<char>(generator.bounded(256));
        return bytes;
    }

    QTemporaryDir m_Dir;
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
    process.setWorkingDirectory(m_Dir.path());
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
    // Slow replies so that the transfer is surely running when the signal comes.
    ASSERT_TRUE(Board().InjectFault("delay 100 200"));
    QProcess process;
    PrepareCtl(process, {"-m", "sram", "mem", "save", keep});
    process.setReadChannel(QProcess::StandardError);
    process.start();
    ASSERT_TRUE(process.waitForStarted());
    QByteArray err;
    while (!err.contains("Load SRAM Content to a File...") && process.waitForReadyRead(60000))
        err += process.readAllStandardError();
    ASSERT_TRUE(err.contains("Load SRAM Content to a File...")) << err.toStdString();
    ::kill(static_cast<pid_t>(process.processId()), SIGINT);
    ASSERT_TRUE(process.waitForFinished(60000));
    err += process.readAllStandardError();

    EXPECT_EQ(process.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(process.exitCode(), 130) << err.toStdString();
    EXPECT_TRUE(err.endsWith("hx9ctl: Load SRAM Content to a File Aborted.\n"))
        << err.toStdString();
    EXPECT_EQ(Read(keep), "old content");
    EXPECT_EQ(Entries(), QStringList{"keep.bin"});
}
