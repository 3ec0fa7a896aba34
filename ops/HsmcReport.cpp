#include "ops/HsmcReport.h"

namespace
{
constexpr int XCVR_FIRST_PIN = 31; // transceiver bit k names pins b/b-2 and b+1/b-1, b = 31 - 4k
constexpr int XCVR_PIN_STEP = 4;
} // namespace

QString HsmcReportText(uint64_t ioErrorMask, uint32_t xcvrErrorMask)
{
    QString text = QStringLiteral("HSMC Test:NG\r\n");
    if (xcvrErrorMask != 0)
    {
        text += QStringLiteral("<Transceiver Error:>\r\n");
        for (int k = 0; k < HSMC_XCVR_REPORTED_BITS; ++k)
        {
            if (xcvrErrorMask & (1u << k))
            {
                const int b = XCVR_FIRST_PIN - XCVR_PIN_STEP * k;
                text += QString::asprintf("HSMC Pin %d/%d-%d/%d    \r\n", b, b - 2, b + 1, b - 1);
            }
        }
    }
    if (ioErrorMask != 0)
    {
        text += QStringLiteral("<IO Error:>\r\n");
        for (int k = 0; k < HSMC_IO_BITS; ++k)
        {
            if (ioErrorMask & (uint64_t{1} << k))
            {
                const int pin = HsmcPinTable[static_cast<std::size_t>(k)];
                text += QString::asprintf("HSMC Pin %d-%d    \r\n", pin, pin + 1);
            }
        }
    }
    return text;
}
