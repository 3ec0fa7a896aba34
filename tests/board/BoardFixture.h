#pragma once

#include "board/Board.h"
#include "tests/board/FakeJtag.h"
#include "tests/board/ScriptedFirmware.h"
#include "tests/support/RecordingHost.h"

#include <QDir>
#include <QTemporaryDir>
#include <gtest/gtest.h>

// The fake library folders, made by the build.
inline QString FakeJtagFolder()
{
    return QStringLiteral(HX9_FAKE_JTAG_DIR "/");
}

inline QString FakeJtagPath()
{
    return FakeJtagFolder() + QStringLiteral("KELVARO_JTAG.so");
}

// A Quartus root with a bin folder in QUARTUS_ROOTDIR, so opens find a programmer folder.
class TQuartusRoot
{
public:
    TQuartusRoot()
    {
        QDir(m_Root.path()).mkdir(QStringLiteral("bin"));
        qputenv("QUARTUS_ROOTDIR", m_Root.path().toLocal8Bit());
    }
    ~TQuartusRoot() { qunsetenv("QUARTUS_ROOTDIR"); }
    QString Bin() const { return m_Root.path() + QStringLiteral("/bin"); }

private:
    QTemporaryDir m_Root;
};

// A board wired to the fake library through the real loading path, with the fake's clock.
class BoardTest : public ::testing::Test
{
protected:
    BoardTest() : Host(FakeJtagFolder()), Fake(FakeJtagPath()), Firmware(Fake), Board(Host)
    {
        Host.Clock = [this] { return Fake->Now(); };
    }

    void ConnectBoard()
    {
        QString error;
        ASSERT_TRUE(Board.Connect(error, 0)) << error.toStdString();
    }

    // Firmware that answers every request with a bare status byte.
    void AnswerStatus(uint8_t status)
    {
        Firmware.Reply = [status](const TRequest&)
        { return std::optional<std::vector<uint8_t>>(std::vector<uint8_t>{status}); };
    }

    TQuartusRoot Quartus;
    TRecordingHost Host;
    TFakeJtag Fake;
    TScriptedFirmware Firmware;
    TBoard Board;
};
