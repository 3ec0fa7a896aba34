#include "ops/AdcOps.h"
#include "ops/ButtonOps.h"
#include "ops/HSMCOps.h"
#include "ops/LedOps.h"
#include "ops/MemoryOps.h"
#include "ops/RS232Ops.h"
#include "ops/SDCardOps.h"
#include "ops/Seg7Ops.h"
#include "ops/VGAOps.h"
#include "tests/board/BoardFixture.h"

#include <functional>
#include <ostream>

// Names in failure messages instead of bytes.
void PrintTo(TOpResult result, std::ostream* os)
{
    const char* const names[] = {"Done",    "Refused",    "LinkFailed",
                                 "Aborted", "FileFailed", "BadInput"};
    *os << names[static_cast<int>(result)];
}

namespace
{
constexpr uint8_t FILL = 0x5A; // every data byte of a good reply
constexpr uint8_t REFUSED_STATUS = 1;
constexpr uint32_t SILENT_READ_COST_MS = 50; // lets a silent board time out in few reads

// A reply of the length the command expects: the status byte, then FILL.
std::vector<uint8_t> FullReply(const TRequest& request, uint8_t status)
{
    const uint32_t readCount = request.Command == CMD_MEMORY_READ
                                   ? ReadU32(request.Payload, MEMORY_REQUEST_COUNT_OFFSET)
                                   : 0;
    std::vector<uint8_t> reply(ReplyPayloadLength(request.Command, readCount), FILL);
    reply[0] = status;
    return reply;
}

// One operation: runs it and says whether it wrote its output (never, having none).
struct TOpCase
{
    const char* Name;
    bool HasOutput;
    std::function<TOpResult(TBoard&, bool& written)> Run;
};

template <class T>
TOpCase WithOutput(const char* name, T untouched, std::function<TOpResult(TBoard&, T&)> op)
{
    return {name, true,
            [=](TBoard& board, bool& written)
            {
                T out = untouched;
                const TOpResult result = op(board, out);
                written = !(out == untouched);
                return result;
            }};
}

std::vector<TOpCase> AllOperations()
{
    return {
        {"SetLeds", false, [](TBoard& b, bool&) { return SetLeds(b, LED_MASK_ALL); }},
        {"SetSeg7Digits", false, [](TBoard& b, bool&) { return SetSeg7Digits(b, 0x1234); }},
        WithOutput<uint32_t>("QueryKeysSwitches", 0xFFFFFFFF, &QueryKeysSwitches),
        WithOutput<TSDCardInfo>("QuerySDCard", {}, &QuerySDCard),
        WithOutput<TAdcBlock>("ReadAdc", TAdcBlock{}, &ReadAdc),
        {"StartUartMonitor", false, [](TBoard& b, bool&) { return StartUartMonitor(b); }},
        {"StopUartMonitor", false, [](TBoard& b, bool&) { return StopUartMonitor(b); }},
        {"SendUartText", false, [](TBoard& b, bool&) { return SendUartText(b, "abc"); }},
        WithOutput<QByteArray>("ReceiveUartChunk", "untouched", &ReceiveUartChunk),
        {"StartHdmi", false, [](TBoard& b, bool&) { return StartHdmi(b); }},
        {"SetHdmiPattern", false, [](TBoard& b, bool&) { return SetHdmiPattern(b, 3); }},
        WithOutput<THsmcErrors>("RunHsmcLoopback", THsmcErrors{1, 1}, &RunHsmcLoopback),
        WithOutput<uint16_t>("ReadMemoryWord", 0xEEEE,
                             [](TBoard& b, uint16_t& v)
                             { return ReadMemoryWord(b, MEM_TYPE_SRAM, 3, v); }),
        {"WriteMemoryWord", false,
         [](TBoard& b, bool&) { return WriteMemoryWord(b, MEM_TYPE_SRAM, 3, 5); }},
    };
}

class OpsTest : public BoardTest
{
protected:
    void Answer(std::optional<uint8_t> status)
    {
        Firmware.Reply = [status](const TRequest& r)
        { return status ? std::make_optional(FullReply(r, *status)) : std::nullopt; };
        if (!status)
            Fake->SetReadCost(SILENT_READ_COST_MS);
    }
};

TEST_F(OpsTest, EachOperationTellsDoneRefusedAndLinkFailureApart)
{
    const std::pair<std::optional<uint8_t>, TOpResult> replies[] = {
        {REPLY_STATUS_OK, TOpResult::Done},
        {REFUSED_STATUS, TOpResult::Refused},
        {std::nullopt, TOpResult::LinkFailed}};
    for (const auto& [status, expected] : replies)
    {
        for (const TOpCase& op : AllOperations())
        {
            // A fresh link per case: the result must come from this operation's exchange.
            ConnectBoard();
            Firmware.Requests.clear();
            Answer(status);
            bool written = false;
            EXPECT_EQ(op.Run(Board, written), expected) << op.Name;
            EXPECT_EQ(written, op.HasOutput && expected == TOpResult::Done) << op.Name;
            EXPECT_FALSE(Firmware.Requests.empty()) << op.Name;
        }
    }
}

TEST_F(OpsTest, ABoardThatIsNotConnectedIsLeftAloneOrFailsAsItsPanelWants)
{
    Answer(REPLY_STATUS_OK);
    uint32_t state = 0;
    TAdcBlock adc{};
    uint16_t word = 0;
    EXPECT_EQ(SetLeds(Board, 1), TOpResult::Done);
    EXPECT_EQ(StartUartMonitor(Board), TOpResult::Done);
    EXPECT_EQ(SetSeg7Digits(Board, 1), TOpResult::LinkFailed);
    EXPECT_EQ(QueryKeysSwitches(Board, state), TOpResult::LinkFailed);
    EXPECT_EQ(ReadAdc(Board, adc), TOpResult::LinkFailed);
    EXPECT_EQ(ReadMemoryWord(Board, MEM_TYPE_SRAM, 0, word), TOpResult::LinkFailed);
    EXPECT_TRUE(Firmware.Requests.empty());
}

} // namespace
