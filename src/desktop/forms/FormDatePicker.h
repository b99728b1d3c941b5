#pragma once

#include <QDateEdit>
#include <QTime>
#include <cstdint>

// A date picker that shows the date only and carries a time of day: the time of the
// record being edited, or the time the form opened for a new one.
class FormDatePicker final : public QDateEdit {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(FormDatePicker)

public:
    // `monthFirst`: the date order setting.
    FormDatePicker(bool monthFirst, QWidget* parent);

    void SetTime(std::int64_t time);
    // The chosen day at the carried time of day, in seconds since 1970.
    std::int64_t Time() const;

private:
    QTime m_timeOfDay;
};
