#pragma once

#include <QDialog>

// "About Velmora": the program icon, the product name with its version, and a line on
// what the program is for.
class CAboutDlg final : public QDialog {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(CAboutDlg)

public:
    explicit CAboutDlg(QWidget* parent = nullptr);
    ~CAboutDlg() override;

    static QString VersionLine();
};
