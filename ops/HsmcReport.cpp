#include "ops/HsmcReport.h"

namespace
{
constexpr int XCVR_FIRST_PIN = 31; // transceiver bit k names pins b/b-2 and b+1/b-1, b = 31 - 4k
constexpr int XCVR_PIN_STEP = 4;

QString XcvrPins(int bit)
{
    const int b = XCVR_FIRST_PIN - XCVR_PIN_STEP * bit;
    return QString::asprintf("%d/%d-%d/%d", b, b - 2, b + 1, b - 1);
}

QString IoPins(int bit)
{
    const int pin = HsmcPinTable[static_cast<std::size_t>(bit)];
    return QString::asprintf("%d-%d", pin, pin + 1);
}

// The pin pairs of the set bits, transceiver or IO, in bit order.
QStringList Pins(uint64_t mask, int bits, QString (*pins)(int))
{
    QStringList list;
    for (int k = 0; k < bits; ++k)
    {
        if (mask & (uint64_t{1} << k))
            list << pins(k);
    }
    return list;
}
} // namespace

QStringList HsmcFailingPins(uint64_t ioErrorMask, uint32_t xcvrErrorMask)
{
    return Pins(xcvrErrorMask, HSMC_XCVR_REPORTED_BITS, XcvrPins) +
           Pins(ioErrorMask, HSMC_IO_BITS, IoPins);
}

QString HsmcReportText(uint64_t ioErrorMask, uint32_t xcvrErrorMask)
{
    QString text = QStringLiteral("HSMC Test:NG\r\n");
    // A section is headed whenever its mask is set, even by bits it does not name.
    const auto section = [&text](const char* title, uint64_t mask, const QStringList& pins)
    {
        if (mask == 0)
            return;
        text += QLatin1String(title) + QStringLiteral("\r\n");
        for (const QString& pair : pins)
            text += QStringLiteral("HSMC Pin %1    \r\n").arg(pair);
    };
    section("<Transceiver Error:>", xcvrErrorMask,
            Pins(xcvrErrorMask, HSMC_XCVR_REPORTED_BITS, XcvrPins));
    section("<IO Error:>", ioErrorMask, Pins(ioErrorMask, HSMC_IO_BITS, IoPins));
    return text;
}
