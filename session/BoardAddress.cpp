#include "session/BoardAddress.h"

namespace
{
constexpr int PORT_MAX = 65535;
}

bool IsBoardAddress(const QString& address)
{
    const qsizetype colon = address.lastIndexOf(QLatin1Char(':'));
    if (colon <= 0)
        return false;
    const QString host = address.left(colon);
    // A bare IPv6 host would leave its own colons to the port.
    if (host.contains(QLatin1Char(':')) &&
        !(host.startsWith(QLatin1Char('[')) && host.endsWith(QLatin1Char(']')) && host.size() > 2))
        return false;
    bool number = false;
    const int port = address.mid(colon + 1).toInt(&number, 10);
    return number && port >= 1 && port <= PORT_MAX;
}

void SelectBoardAddress(const QString& address)
{
    // The library reads the variable at every open; children (the programmer) inherit it.
    qputenv(BOARD_ADDRESS_VARIABLE, address.toLocal8Bit());
}

QString BoardAddress()
{
    const QString named = qEnvironmentVariable(BOARD_ADDRESS_VARIABLE);
    return named.isEmpty() ? QString::fromLatin1(DEFAULT_BOARD_ADDRESS) : named;
}
