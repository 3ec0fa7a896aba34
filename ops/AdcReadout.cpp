#include "ops/AdcReadout.h"

#include <QtEndian>

namespace
{
constexpr double VOLTS_PER_MILLIVOLT = 0.001;
} // namespace

uint16_t AdcChannelMillivolts(const TAdcBlock& block, uint32_t channel)
{
    return qFromLittleEndian<uint16_t>(&block.at(channel * sizeof(uint16_t)));
}

QString AdcReadoutText(const TAdcBlock& block, const QString& lineEnd)
{
    QString text;
    for (uint32_t channel = 0; channel < ADC_CHANNEL_COUNT; ++channel)
    {
        text += QString::asprintf("CH%d: %.3f V", static_cast<int>(channel),
                                  AdcChannelMillivolts(block, channel) * VOLTS_PER_MILLIVOLT);
        text += lineEnd;
    }
    return text;
}
