#include "ops/VGAOps.h"

#include "board/Board.h"
#include "ops/BoardOutcome.h"

TOpResult StartHdmi(TBoard& board)
{
    bool accepted = false;
    const bool exchanged = board.DeviceControl(accepted, DEVICE_HDMI_TX, DEVICE_ACTION_START, 0);
    return ReplyOutcome(exchanged, accepted);
}

TOpResult SetHdmiPattern(TBoard& board, uint8_t code)
{
    bool accepted = false;
    bool exchanged = false;
    {
        std::lock_guard<std::recursive_mutex> lock(board.Lock());
        board.DrainInput();
        exchanged = board.DeviceControl(accepted, DEVICE_HDMI_TX, DEVICE_ACTION_HDMI_PATTERN, code);
    }
    return ReplyOutcome(exchanged, accepted);
}
