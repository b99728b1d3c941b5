#pragma once

#include <QDialog>
#include <string>

class CKx7Doc;
class QComboBox;
class QLineEdit;

// "Symbol and Name Change": an old held symbol, and the new symbol and company name.
class CSymbolChangeDlg final : public QDialog {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(CSymbolChangeDlg)

public:
    CSymbolChangeDlg(const CKx7Doc& doc, QWidget* parent);
    ~CSymbolChangeDlg() override;

    const std::string& OldSymbol() const { return m_oldSymbol; }
    const std::string& NewSymbol() const { return m_newSymbol; }
    const std::string& NewCompanyName() const { return m_newCompanyName; }

    void accept() override;

private:
    void OnOldChosen(int index);
    void OnNewChosen(int index);

    const CKx7Doc& m_doc;
    QComboBox* m_oldBox = nullptr;
    QLineEdit* m_oldCompanyEdit = nullptr;
    QComboBox* m_newBox = nullptr;
    QLineEdit* m_newCompanyEdit = nullptr;

    std::string m_oldSymbol;
    std::string m_newSymbol;
    std::string m_newCompanyName;
};
