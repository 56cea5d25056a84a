// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

// The date and the time of a results row, read by hand (the general date
// parser costs more than the rest of a row), from the decoded line or
// straight from the file's bytes.

#include <QByteArrayView>
#include <QDate>
#include <QStringView>
#include <QTime>

namespace results::fields {

inline char16_t unit(QChar c) { return c.unicode(); }
inline char16_t unit(char c) { return static_cast<unsigned char>(c); }

// The digits of `text` from `from`, `count` of them; -1 when one is no digit.
template<typename View>
int digits(View text, qsizetype from, qsizetype count)
{
    int value = 0;
    for (qsizetype i = from; i < from + count; ++i) {
        const char16_t c = unit(text[i]);
        if (c < u'0' || c > u'9')
            return -1;
        value = value * 10 + (c - u'0');
    }
    return value;
}

// AAAA-MM-DD; invalid for anything else.
template<typename View>
QDate date(View text)
{
    if (text.size() != 10 || unit(text[4]) != u'-' || unit(text[7]) != u'-')
        return {};
    const int year = digits(text, 0, 4);
    const int month = digits(text, 5, 2);
    const int day = digits(text, 8, 2);
    if (year < 0 || month < 0 || day < 0)
        return {};
    return QDate(year, month, day);
}

// HH:mm:ss; invalid for anything else.
template<typename View>
QTime time(View text)
{
    if (text.size() != 8 || unit(text[2]) != u':' || unit(text[5]) != u':')
        return {};
    const int hour = digits(text, 0, 2);
    const int minute = digits(text, 3, 2);
    const int second = digits(text, 6, 2);
    if (hour < 0 || minute < 0 || second < 0 || !QTime::isValid(hour, minute, second))
        return {};
    return QTime(hour, minute, second);
}

}  // namespace results::fields
