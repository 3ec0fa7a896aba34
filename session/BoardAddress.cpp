#include "session/BoardAddress.h"

#include <QRegularExpression>

namespace
{
constexpr int PORT_MAX = 65535;
}

bool IsBoardAddress(const QString& address)
{
    static const QRegularExpression form(
        QStringLiteral(R"(^(\[[0-9A-Fa-f:.]+\]|[A-Za-z0-9._-]+):([0-9]{1,5})$)"));
    const QRegularExpressionMatch match = form.match(address);
    if (!match.hasMatch())
        return false;
    const int port = match.captured(2).toInt();
    return port >= 1 && port <= PORT_MAX;
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
