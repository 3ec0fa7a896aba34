#include "ops/RS232Ops.h"

#include "board/Board.h"
#include "ops/BoardOutcome.h"

namespace
{
TOpResult SwitchUartMonitor(TBoard& board, uint8_t action)
{
    std::lock_guard<std::recursive_mutex> lock(board.Lock());
    if (!board.IsConnected())
        return TOpResult::Done;
    bool accepted = false;
    const bool exchanged = board.DeviceControl(accepted, DEVICE_UART_USB, action, 0);
    return ReplyOutcome(exchanged, accepted);
}
} // namespace

TOpResult StartUartMonitor(TBoard& board)
{
    return SwitchUartMonitor(board, DEVICE_ACTION_START);
}

TOpResult StopUartMonitor(TBoard& board)
{
    return SwitchUartMonitor(board, DEVICE_ACTION_STOP);
}

TOpResult SendUartText(TBoard& board, const QByteArray& text)
{
    QByteArray bytes = text;
    bytes.append('\0');
    bool accepted = false;
    bool exchanged = false;
    {
        std::lock_guard<std::recursive_mutex> lock(board.Lock());
        exchanged = board.UartWrite(accepted, DEVICE_UART_USB, static_cast<int32_t>(bytes.size()),
                                    reinterpret_cast<const uint8_t*>(bytes.constData()));
    }
    return ReplyOutcome(exchanged, accepted);
}

TOpResult ReceiveUartChunk(TBoard& board, QByteArray& received)
{
    uint8_t block[UART_BLOCK_LEN] = {};
    int32_t count = 0;
    bool accepted = false;
    bool exchanged = false;
    {
        std::lock_guard<std::recursive_mutex> lock(board.Lock());
        exchanged = board.UartRead(accepted, DEVICE_UART_USB, count, block);
    }
    const TOpResult result = ReplyOutcome(exchanged, accepted);
    if (result != TOpResult::Done)
        return result;
    const QByteArray bytes(reinterpret_cast<const char*>(block), count);
    const qsizetype end = bytes.indexOf('\0');
    received = end < 0 ? bytes : bytes.left(end);
    return result;
}
