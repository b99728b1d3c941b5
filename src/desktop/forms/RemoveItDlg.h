#pragma once

#include <QDialog>

// Asks before a purchase is deleted with its sales. "YES" accepts, "NO" rejects.
class CRemoveItDlg final : public QDialog {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(CRemoveItDlg)

public:
    explicit CRemoveItDlg(QWidget* parent);
    ~CRemoveItDlg() override;
};
