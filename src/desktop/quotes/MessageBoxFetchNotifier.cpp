#include "desktop/quotes/MessageBoxFetchNotifier.h"

#include <QMessageBox>

void MessageBoxFetchNotifier::Show(const FetchMessage& message) {
    ShowFetchMessage(message);
}

void ShowFetchMessage(const FetchMessage& message) {
    QMessageBox box(message.warningIcon ? QMessageBox::Warning : QMessageBox::NoIcon,
                    QString::fromStdString(message.caption), QString::fromStdString(message.text),
                    QMessageBox::Ok);
    box.exec();
}
