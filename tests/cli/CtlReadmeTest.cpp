#include "CtlFixture.h"
#include "tests/support/ScratchFolder.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

// The README's hx9ctl example, run as written from a stand-in for the source tree (a folder
// whose build/ is this build) against a virtual board of its own: it works and leaves no
// file behind in the tree.
TEST(CtlReadme, TheExampleRunsAndLeavesTheSourceTreeAsItWas)
{
    QFile readme(QStringLiteral(HX9_README_PATH));
    ASSERT_TRUE(readme.open(QIODevice::ReadOnly));
    const QString text = QString::fromUtf8(readme.readAll());
    const qsizetype section = text.indexOf("## hx9ctl");
    const qsizetype start = text.indexOf("```sh\n", section);
    const qsizetype end = text.indexOf("```\n", start + 6);
    ASSERT_TRUE(section >= 0 && start >= 0 && end >= 0);
    // Its lines that run until Ctrl-C are left out.
    QStringList lines = text.mid(start + 6, end - start - 6).split('\n');
    lines.removeIf([](const QString& line) { return line.contains("--watch"); });
    const QString example = lines.join('\n');

    // A free port for the example's board: the one a board of ours gets, once it is gone.
    std::string address;
    {
        hx9test::TVirtualBoardProcess probe;
        ASSERT_TRUE(probe.Start()) << probe.LastError();
        address = probe.Address();
    }
    hx9test::TScratchFolder tree;
    const QString build = QFileInfo(QString::fromStdString(hx9test::ProgramDir())).dir().path();
    ASSERT_TRUE(QFile::link(build, tree.Path("build")));
    QProcess shell;
    shell.setWorkingDirectory(tree.Path());
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert("KELVARO_JTAG_SERVER", QString::fromStdString(address));
    environment.remove("QUARTUS_ROOTDIR");
    shell.setProcessEnvironment(environment);
    shell.start("bash", {"-c", example + "\nstatus=$?\n$B/hx9-board-sim shutdown\nexit $status"});
    ASSERT_TRUE(shell.waitForFinished(120000));
    const QString out = QString::fromLocal8Bit(shell.readAllStandardOutput());
    EXPECT_EQ(shell.exitCode(), 0)
        << out.toStdString() << shell.readAllStandardError().toStdString();
    EXPECT_TRUE(out.contains("Memory test of SRAM 0000000-003FFFF: passed")) << out.toStdString();
    EXPECT_FALSE(out.contains("loopback failed")) << out.toStdString();
    const QStringList left =
        QDir(tree.Path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::System);
    EXPECT_EQ(left.join(' ').toStdString(), "build");
}
