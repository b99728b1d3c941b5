#pragma once

#include <QDialog>
#include <string>

// "Details": everything about one purchase and its sales, as the caller hands it.
class CDetailsSubDlg final : public QDialog {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(CDetailsSubDlg)

public:
    explicit CDetailsSubDlg(const std::string& text, QWidget* parent = nullptr);
    ~CDetailsSubDlg() override;
};
