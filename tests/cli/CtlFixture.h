#pragma once

#include "CtlProcess.h"
#include "tests/support/VirtualBoardProcess.h"

#include <QStringList>
#include <gtest/gtest.h>
#include <string>

// A fresh virtual board for every test, programmed with the HX9 image unless a test says
// otherwise; the helper stops it when the test ends.
class CtlTest : public ::testing::Test
{
protected:
    void SetUp() override { StartBoard(true); }

    void StartBoard(bool programmed)
    {
        hx9test::TVirtualBoardProcess::TOptions options;
        options.Programmed = programmed;
        m_Board.emplace(options);
        ASSERT_TRUE(m_Board->Start()) << m_Board->LastError();
    }

    // One control line that must succeed; its value after "ok".
    std::string Control(const std::string& line)
    {
        std::string value;
        EXPECT_TRUE(m_Board->Command(line, &value)) << line << ": " << m_Board->LastError();
        return value;
    }

    hx9test::TVirtualBoardProcess& Board() { return *m_Board; }

private:
    std::optional<hx9test::TVirtualBoardProcess> m_Board;
};

// Status and both streams, for failure messages.
inline std::string Describe(const TCtlResult& r)
{
    return "status " + std::to_string(r.Status) + "\nstdout: " + r.Out.toStdString() +
           "\nstderr: " + r.Err.toStdString();
}
