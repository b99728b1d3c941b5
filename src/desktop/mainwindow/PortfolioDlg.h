#pragma once

#include <QDialog>
#include <string>

class QLineEdit;
class QPlainTextEdit;

// The portfolio's owner and objective. The caller stores them on OK.
class CPortfolioDlg final : public QDialog {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(CPortfolioDlg)

public:
    CPortfolioDlg(const std::string& owner, const std::string& objective, QWidget* parent);
    ~CPortfolioDlg() override;

    std::string Owner() const;
    std::string Objective() const;

private:
    QLineEdit* m_ownerEdit = nullptr;
    QPlainTextEdit* m_objectiveEdit = nullptr;
};
