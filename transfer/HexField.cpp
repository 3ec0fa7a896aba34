#include "transfer/HexField.h"

#include "transfer/HexText.h"

namespace
{

constexpr int BITS_PER_HEX_DIGIT = 4;
constexpr uint64_t TOP_NIBBLE_MASK = 0xF000000000000000ULL;

// Bare hex into value; false for an empty text, any other character, or more than 64 bits.
bool ParseBareHex(const QString& text, uint64_t& value)
{
    if (text.isEmpty())
        return false;
    uint64_t result = 0;
    for (const QChar ch : text)
    {
        if (ch.unicode() > 0x7F || !IsHexDigit(static_cast<char>(ch.unicode())))
            return false;
        if (result & TOP_NIBBLE_MASK)
            return false;
        result = (result << BITS_PER_HEX_DIGIT) |
                 static_cast<uint64_t>(HexDigitValue(static_cast<char>(ch.unicode())));
    }
    value = result;
    return true;
}

QString UpperHex(uint64_t value)
{
    return QString::number(value, 16).toUpper();
}

} // namespace

THexFieldResult ReadHexField(const QString& text, const QString& fieldName, uint64_t maximum,
                             uint64_t minimum)
{
    return ReadHexField(text, text, fieldName, maximum, minimum);
}

THexFieldResult ReadHexField(const QString& text, const QString& typed, const QString& fieldName,
                             uint64_t maximum, uint64_t minimum)
{
    THexFieldResult result;
    uint64_t value = 0;
    if (!ParseBareHex(text, value))
    {
        result.Message = QStringLiteral("Value '%1' is invalid for '%2'").arg(typed, fieldName);
        return result;
    }
    // "intput" and both messages' grammar are on purpose: the board's users know them so.
    if (value > maximum)
    {
        result.Message =
            QStringLiteral(
                "The input value(%1) for the field '%2' is expected to less or equal to %3h.")
                .arg(typed, fieldName, UpperHex(maximum));
        return result;
    }
    if (value < minimum)
    {
        result.Message =
            QStringLiteral(
                "The intput value(%1) for the field '%2' is expected to larger or equal to %3h.")
                .arg(typed, fieldName, UpperHex(minimum));
        return result;
    }
    result.Accepted = true;
    result.Value = value;
    return result;
}
