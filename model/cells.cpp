#include "model/cells.h"

#include "model/registers.h"

namespace isd {

QString cellText(int bit)
{
    return QString::number(bit);
}

int cellValue(const QString &text)
{
    // At most nine digits, so that no text can overflow the sum of a word.
    constexpr int kMaxDigits = 9;
    int value = 0;
    int digits = 0;
    int i = 0;
    while (i < text.size() && text.at(i) == QLatin1Char(' '))
        ++i;
    for (; i < text.size() && digits < kMaxDigits; ++i, ++digits) {
        const QChar c = text.at(i);
        if (c < QLatin1Char('0') || c > QLatin1Char('9'))
            break;
        value = value * 10 + (c.unicode() - '0');
    }
    return value;
}

std::int64_t wordValue(const QStringList &cellTextsHighFirst)
{
    std::int64_t sum = 0;
    const int count = int(cellTextsHighFirst.size());
    for (int i = 0; i < count; ++i) {
        const int bit = count - 1 - i;
        sum += std::int64_t(cellValue(cellTextsHighFirst.at(i))) << bit;
    }
    return sum;
}

QString wordText(std::int64_t value)
{
    return QString::number(value, 16).toUpper();
}

} // namespace isd
