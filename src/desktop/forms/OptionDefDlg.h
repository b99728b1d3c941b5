#pragma once

#include <QDialog>
#include <QString>

// "Option Definitions": what the grant form's schedule and type codes mean. Read only.
class COptionDefDlg final : public QDialog {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(COptionDefDlg)

public:
    explicit COptionDefDlg(QWidget* parent);
    ~COptionDefDlg() override;

    static QString ScheduleText();
    static QString TypeText();
};
