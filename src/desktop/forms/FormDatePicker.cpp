#include "desktop/forms/FormDatePicker.h"

#include <QDateTime>

#include "core/model/Clock.h"

FormDatePicker::FormDatePicker(bool monthFirst, QWidget* parent) : QDateEdit(parent) {
    setDisplayFormat(monthFirst ? QStringLiteral("MM/dd/yyyy") : QStringLiteral("dd/MM/yyyy"));
    setCalendarPopup(true);
    SetTime(Clock::Now());
}

void FormDatePicker::SetTime(std::int64_t time) {
    const QDateTime local = QDateTime::fromSecsSinceEpoch(time);
    m_timeOfDay = local.time();
    setDate(local.date());
}

std::int64_t FormDatePicker::Time() const {
    return QDateTime(date(), m_timeOfDay).toSecsSinceEpoch();
}
