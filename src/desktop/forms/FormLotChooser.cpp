#include "desktop/forms/FormLotChooser.h"

#include "desktop/forms/SaleCustomDlg.h"

std::optional<std::vector<float>> FormLotChooser::ChooseLots(const CustomSaleRequest& request) {
    CSaleCustomDlg form(request, m_parent);
    if (form.exec() != QDialog::Accepted) {
        return std::nullopt;
    }
    return form.Amounts();
}
