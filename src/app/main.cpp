#include <QApplication>

#include "app/Kx7App.h"

int main(int argc, char* argv[]) {
    QApplication application(argc, argv);
    CKx7App kx7;
    if (!kx7.InitInstance(QApplication::arguments())) {
        return 1;
    }
    return kx7.ExitInstance(QApplication::exec());
}
