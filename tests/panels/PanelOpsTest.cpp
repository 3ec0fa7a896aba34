#include "panels/ops/AdcOps.h"
#include "panels/ops/ButtonOps.h"
#include "panels/ops/HSMCOps.h"
#include "panels/ops/LedOps.h"
#include "panels/ops/MemoryOps.h"
#include "panels/ops/RS232Ops.h"
#include "panels/ops/SDCardOps.h"
#include "panels/ops/Seg7Ops.h"
#include "panels/ops/VGAOps.h"
#include "tests/board/BoardFixture.h"

#include <functional>
#include <ostream>

// Names in failure messages instead of bytes.
void PrintTo(TOpResult result, std::ostream* os)
{
    const char* const names[] = {"Done", "Refused", "LinkFailed", "Aborted", "FileFailed"};
    *os << names[static_cast<int>(result)];
}

namespace
{
using Bytes = std::vector<uint8_t>;
using Reply = std::optional<Bytes>;

constexpr uint8_t FILL = 0x5A;       // every data byte of a good reply
constexpr uint8_t REFUSED_STATUS = 1;
constexpr uint32_t SILENT_READ_COST_MS = 50; // lets a silent board time out in few reads

// A reply of the length the command expects: the status byte, then FILL.
Bytes FullReply(const TRequest& request, uint8_t status)
{
    uint32_t length = REPLY_LEN_STATUS;
    switch (request.Command)
    {
    case CMD_QUERY_BUTTON_SWITCH: length = REPLY_LEN_BUTTON_SWITCH; break;
    case CMD_QUERY_SDCARD_INFO: length = REPLY_LEN_SDCARD_INFO; break;
    case CMD_UART_READ: length = REPLY_LEN_UART_READ; break;
    case CMD_HSMC_LOOPBACK_TEST: length = REPLY_LEN_HSMC_LOOPBACK; break;
    case CMD_MEMORY_READ: length = REPLY_LEN_STATUS + ReadU32(request.Payload, 5); break;
    default: break;
    }
    Bytes reply(length, FILL);
    reply[0] = status;
    return reply;
}

// One operation: runs it and says whether it wrote its output.
struct TOpCase
{
    const char* Name;
    bool HasOutput;
    std::function<TOpResult(TBoard&, bool& written)> Run;
};

template <class T>
TOpCase WithOutput(const char* name, T sentinel, std::function<TOpResult(TBoard&, T&)> op)
{
    return {name, true, [=](TBoard& board, bool& written)
            {
                T out = sentinel;
                const TOpResult result = op(board, out);
                written = !(out == sentinel);
                return result;
            }};
}

TOpCase Plain(const char* name, std::function<TOpResult(TBoard&)> op)
{
    return {name, false, [=](TBoard& board, bool& written)
            {
                written = false;
                return op(board);
            }};
}

std::vector<TOpCase> AllOperations()
{
    return {
        Plain("SetLeds", [](TBoard& b) { return SetLeds(b, LED_MASK_ALL); }),
        Plain("SetSeg7Digits", [](TBoard& b) { return SetSeg7Digits(b, 0x1234); }),
        WithOutput<uint32_t>("QueryKeysSwitches", 0xFFFFFFFF, &QueryKeysSwitches),
        WithOutput<TSDCardInfo>("QuerySDCard", {}, &QuerySDCard),
        WithOutput<TAdcBlock>("ReadAdc", TAdcBlock{}, &ReadAdc),
        Plain("StartUartMonitor", &StartUartMonitor),
        Plain("StopUartMonitor", &StopUartMonitor),
        Plain("SendUartText", [](TBoard& b) { return SendUartText(b, "abc"); }),
        WithOutput<QByteArray>("ReceiveUartChunk", "untouched", &ReceiveUartChunk),
        Plain("StartHdmi", &StartHdmi),
        Plain("SetHdmiPattern", [](TBoard& b) { return SetHdmiPattern(b, 3); }),
        WithOutput<THsmcErrors>("RunHsmcLoopback", THsmcErrors{1, 1}, &RunHsmcLoopback),
        WithOutput<uint16_t>("ReadMemoryWord", 0xEEEE, [](TBoard& b, uint16_t& v)
                             { return ReadMemoryWord(b, MEM_TYPE_SRAM, 3, v); }),
        Plain("WriteMemoryWord", [](TBoard& b) { return WriteMemoryWord(b, MEM_TYPE_SRAM, 3, 5); }),
    };
}

class PanelOpsTest : public BoardTest
{
protected:
    void Answer(std::optional<uint8_t> status)
    {
        Firmware.Reply = [status](const TRequest& r)
        { return status ? Reply(FullReply(r, *status)) : std::nullopt; };
        if (!status)
            Fake->SetReadCost(SILENT_READ_COST_MS);
    }
};

TEST_F(PanelOpsTest, EachOperationTellsDoneRefusedAndLinkFailureApart)
{
    const struct
    {
        std::optional<uint8_t> Status;
        TOpResult Expected;
    } replies[] = {
        {REPLY_STATUS_OK, TOpResult::Done},
        {REFUSED_STATUS, TOpResult::Refused},
        {std::nullopt, TOpResult::LinkFailed},
    };
    for (const auto& reply : replies)
    {
        for (const TOpCase& op : AllOperations())
        {
            // A fresh link per case: the result must come from this operation's exchange.
            ConnectBoard();
            Firmware.Requests.clear();
            Answer(reply.Status);
            bool written = false;
            EXPECT_EQ(op.Run(Board, written), reply.Expected) << op.Name;
            EXPECT_EQ(written, op.HasOutput && reply.Expected == TOpResult::Done) << op.Name;
            EXPECT_FALSE(Firmware.Requests.empty()) << op.Name;
        }
    }
}

TEST_F(PanelOpsTest, ABoardThatIsNotConnectedIsLeftAloneOrFailsAsItsPanelWants)
{
    const struct
    {
        const char* Name;
        std::function<TOpResult(TBoard&)> Run;
        TOpResult Expected;
    } cases[] = {
        {"SetLeds", [](TBoard& b) { return SetLeds(b, 1); }, TOpResult::Done},
        {"StartUartMonitor", &StartUartMonitor, TOpResult::Done},
        {"SetSeg7Digits", [](TBoard& b) { return SetSeg7Digits(b, 1); }, TOpResult::LinkFailed},
        {"QueryKeysSwitches", [](TBoard& b) { uint32_t s = 0; return QueryKeysSwitches(b, s); },
         TOpResult::LinkFailed},
        {"ReadAdc", [](TBoard& b) { TAdcBlock a{}; return ReadAdc(b, a); }, TOpResult::LinkFailed},
        {"ReadMemoryWord", [](TBoard& b) { uint16_t v = 0; return ReadMemoryWord(b, 6, 0, v); },
         TOpResult::LinkFailed},
    };
    Answer(REPLY_STATUS_OK);
    for (const auto& c : cases)
        EXPECT_EQ(c.Run(Board), c.Expected) << c.Name;
    EXPECT_TRUE(Firmware.Requests.empty());
}

TEST_F(PanelOpsTest, RequestsCarryWhatThePanelsSend)
{
    ConnectBoard();
    Answer(REPLY_STATUS_OK);
    ASSERT_EQ(SendUartText(Board, "abc"), TOpResult::Done);
    ASSERT_EQ(SetHdmiPattern(Board, 7), TOpResult::Done);
    ASSERT_EQ(StartHdmi(Board), TOpResult::Done);
    ASSERT_EQ(StopUartMonitor(Board), TOpResult::Done);
    ASSERT_EQ(SetSeg7Digits(Board, PackSeg7Digits({8, 0xF, 1, 0x1A})), TOpResult::Done);
    ASSERT_EQ(Firmware.Requests.size(), 5u);
    const Bytes uart = Firmware.Requests[0].Payload;
    EXPECT_EQ(uart[1], 4); // three letters and the terminating zero
    EXPECT_EQ(Bytes(uart.begin() + 2, uart.begin() + 6), (Bytes{'a', 'b', 'c', 0}));
    EXPECT_EQ(Firmware.Requests[1].Payload, (Bytes{DEVICE_HDMI_TX, 2, 7}));
    EXPECT_EQ(Firmware.Requests[2].Payload, (Bytes{DEVICE_HDMI_TX, 1, 0}));
    EXPECT_EQ(Firmware.Requests[3].Payload, (Bytes{DEVICE_UART_USB, 0, 0}));
    EXPECT_EQ(ReadU32(Firmware.Requests[4].Payload, 0), 0xA1F8u);
}

TEST_F(PanelOpsTest, RepliesAreReadAsThePanelsShowThem)
{
    ConnectBoard();
    Firmware.Reply = [](const TRequest& r)
    {
        Bytes reply = FullReply(r, REPLY_STATUS_OK);
        if (r.Command == CMD_UART_READ)
            reply = Bytes{0, 5, 'h', 'i', 0, 'x', 'y'};
        if (r.Command == CMD_HSMC_LOOPBACK_TEST)
            std::fill(reply.begin() + 1, reply.end(), 0);
        reply.resize(FullReply(r, 0).size());
        return Reply(reply);
    };
    QByteArray received;
    ASSERT_EQ(ReceiveUartChunk(Board, received), TOpResult::Done);
    EXPECT_EQ(received, QByteArray("hi"));
    THsmcErrors errors{1, 1};
    ASSERT_EQ(RunHsmcLoopback(Board, errors), TOpResult::Done);
    EXPECT_TRUE(errors.None());
    uint32_t state = 0;
    ASSERT_EQ(QueryKeysSwitches(Board, state), TOpResult::Done);
    EXPECT_EQ(KeysOf(state), FILL & INPUT_KEY_MASK);
    EXPECT_EQ(SwitchesOf(state), (FILL << 8 | FILL) & INPUT_SWITCH_MASK);
}

TEST_F(PanelOpsTest, TransferOutcomesNameTheFailureTheBoardSaw)
{
    ConnectBoard();
    TTransferResult result;
    result.Ok = true;
    EXPECT_EQ(TransferOutcome(Board, result), TOpResult::Done);
    result = {};
    result.Aborted = true;
    EXPECT_EQ(TransferOutcome(Board, result), TOpResult::Aborted);
    result = {};
    result.DataFailed = true;
    EXPECT_EQ(TransferOutcome(Board, result), TOpResult::FileFailed);

    TFileTransferOutcome outcome;
    outcome.BoardFailed = true;
    Answer(REFUSED_STATUS);
    uint16_t value = 0;
    ASSERT_EQ(ReadMemoryWord(Board, MEM_TYPE_LPDDR2, 0, value), TOpResult::Refused);
    EXPECT_EQ(TransferOutcome(Board, outcome), TOpResult::Refused);
    Board.Disconnect();
    EXPECT_EQ(TransferOutcome(Board, outcome), TOpResult::LinkFailed);
}

} // namespace
