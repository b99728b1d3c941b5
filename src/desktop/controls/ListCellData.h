#pragma once

#include <QColor>
#include <QString>

// What the list control keeps of one cell beyond the text shown.
struct ListCellData {
    QColor textColour;
    QColor backColour;
    bool bold = false;  // drawn bold and underlined
    QString text;       // the text sorting compares
};
