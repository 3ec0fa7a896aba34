#include "CtlFixture.h"

// hx9ctl mem test against a virtual SRAM that is healthy, has a stuck data bit, or has two
// address lines shorted: each fault is found by the pass meant for it and fails the run.
TEST_F(CtlTest, MemoryTestFindsEachFaultAndPassesAHealthyChip)
{
    struct TCase
    {
        const char* Fault; // control line, or nullptr for a healthy chip
        int Status;
        QStringList Lines; // in stdout, in this order
    };
    const TCase cases[] = {
        {nullptr,
         0,
         {"Data bus, walking one at 0000100: pass", "Address bus, 12 lines from 0000100: pass",
          "Random pattern, seed 1234: pass", "Complement pattern, seed 1234: pass",
          "Own address, low XOR high 16 bits: pass",
          "Memory test of SRAM 0000100-00010FF: passed"}},
        {"mem stuck sram 3 1",
         1,
         {"Data bus, walking one at 0000100: FAIL, 15 failing words",
          "  0000100: expected 0001, read 0009, bits 0008", "Random pattern, seed 1234: FAIL",
          "Memory test of SRAM 0000100-00010FF: FAILED"}},
        {"mem stuck sram 12 0", 1, {"  0000100: expected 1000, read 0000, bits 1000", "FAILED"}},
        {"mem short sram 4 9",
         1,
         {"Data bus, walking one at 0000100: pass",
          "Address bus, 12 lines from 0000100: FAIL, 2 failing words",
          "  0000300: expected AAAA, read 5555, bits FFFF",
          "Own address, low XOR high 16 bits: FAIL", "FAILED"}},
    };
    for (const TCase& c : cases)
    {
        SCOPED_TRACE(c.Fault ? c.Fault : "healthy");
        StartBoard(true);
        if (c.Fault)
        {
            ASSERT_EQ(Control(c.Fault), "");
        }
        const TCtlResult r = RunCtl({"-m", "sram", "mem", "test", "100", "1000", "1234"});
        EXPECT_EQ(r.Status, c.Status) << Describe(r);
        qsizetype at = 0;
        for (const QString& line : c.Lines)
        {
            const qsizetype found = r.Out.indexOf(line, at);
            EXPECT_GE(found, 0) << line.toStdString() << "\n" << Describe(r);
            at = found < 0 ? at : found;
        }
    }
}

// One cell with bit 3 stuck at 1 and bit 12 at 0, bits its own address holds as stuck: for
// any seed the pattern or its complement sees each bit at the value it cannot take.
TEST_F(CtlTest, AStuckCellIsFoundWhateverTheSeed)
{
    const struct
    {
        const char* Seed;
        const char* Found; // the summary's passes
    } cases[] = {
        {"9", "complement pattern 1"}, // the pattern holds both bits as stuck there
        {"8", "random pattern 1"},
        {"3", "random pattern 1, complement pattern 1"},
        {"DEADBEEF", "random pattern 1"},
    };
    StartBoard(true);
    ASSERT_EQ(Control("mem stuck sram 3 1 0x10b"), "");
    ASSERT_EQ(Control("mem stuck sram 12 0 0x10b"), "");
    for (const auto& c : cases)
    {
        SCOPED_TRACE(c.Seed);
        const TCtlResult r = RunCtl({"-m", "sram", "mem", "test", "100", "1000", c.Seed});
        EXPECT_EQ(r.Status, 1) << Describe(r);
        EXPECT_TRUE(r.Out.contains("failing words\n  000010B: expected ")) << Describe(r);
        EXPECT_TRUE(r.Out.contains("Own address, low XOR high 16 bits: pass")) << Describe(r);
        EXPECT_TRUE(r.Out.endsWith(QStringLiteral("Memory test of SRAM 0000100-00010FF: FAILED, "
                                                  "failing words by pass: %1\n")
                                       .arg(c.Found)))
            << Describe(r);
    }
}
