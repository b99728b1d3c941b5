#include "desktop/controls/XListCompare.h"

#include <cstdlib>
#include <utility>

namespace {

// The leading decimal number of the text, as atof reads it; 0 without one.
double LeadingNumber(const QString& text) {
    const QByteArray bytes = text.toLatin1();
    return std::strtod(bytes.constData(), nullptr);
}

bool IsAsciiDigit(QChar c) {
    return c >= QLatin1Char('0') && c <= QLatin1Char('9');
}

int Sign(double difference) {
    return difference < 0 ? -1 : (difference > 0 ? 1 : 0);
}

int DatePart(const QString& text, int from, int length) {
    return text.mid(from, length).toInt();
}

int CompareAsDates(const QString& first, const QString& second) {
    // Year, then the characters at 4 and 5, then those at 1 and 2, whichever order the
    // date setting puts day and month in.
    for (const auto& [from, length] : {std::pair{6, 4}, std::pair{3, 2}, std::pair{0, 2}}) {
        const int difference = DatePart(first, from, length) - DatePart(second, from, length);
        if (difference != 0) {
            return Sign(difference);
        }
    }
    return 0;
}

}  // namespace

bool IsNumericLooking(const QString& text) {
    for (qsizetype i = 0; i + 1 < text.size(); ++i) {
        const QChar c = text[i];
        if (!IsAsciiDigit(c) && c != QLatin1Char('.') && c != QLatin1Char('-')) {
            return false;
        }
    }
    return true;
}

bool IsDateLooking(const QString& text) {
    if (text.size() != 10) {
        return false;
    }
    for (qsizetype i = 0; i < text.size(); ++i) {
        const bool slash = i == 2 || i == 5;
        if (slash ? text[i] != QLatin1Char('/') : !IsAsciiDigit(text[i])) {
            return false;
        }
    }
    return true;
}

int CompareInsertIndexes(int a, int b) {
    return a >= b ? 1 : -1;
}

int CompareCellTexts(const QString& a, const QString& b, int direction) {
    const bool ascending = direction == 0;
    const QString& first = ascending ? a : b;
    const QString& second = ascending ? b : a;
    if (IsNumericLooking(a)) {
        if (!IsNumericLooking(second)) {
            return -1;
        }
        return Sign(LeadingNumber(first) - LeadingNumber(second));
    }
    if (IsDateLooking(a)) {
        return CompareAsDates(first, second);
    }
    return Sign(QString::localeAwareCompare(first, second));
}
