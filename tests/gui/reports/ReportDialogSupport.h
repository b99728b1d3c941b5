#pragma once

#include <QComboBox>
#include <QDialog>
#include <QString>
#include <QStringList>
#include <QTest>
#include <string>
#include <vector>

#include <QAbstractButton>
#include <QHeaderView>

#include "core/model/Clock.h"
#include "core/model/DemoPortfolio.h"
#include "core/model/Kx7Doc.h"
#include "core/model/LocalTime.h"
#include "core/settings/Settings.h"
#include "desktop/controls/ReportTextView.h"
#include "desktop/controls/XListCtrl.h"

// What the report dialogs' tests share: reading what a dialog shows and turning a core
// builder's text into what a person should see there.

// The report text as a text box shows it: one line per CR LF.
inline QString AsShown(const std::string& report) {
    QString text = QString::fromStdString(report);
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    return text;
}

// The rows a tab-separated report makes: a line's cells are the pieces before its TABs.
inline std::vector<QStringList> ExpectedRows(const std::string& report) {
    std::vector<QStringList> rows;
    QStringList lines = QString::fromStdString(report).split(QStringLiteral("\r\n"));
    lines.removeLast();  // after the last line end
    for (const QString& line : lines) {
        QStringList cells = line.split(QLatin1Char('\t'));
        cells.removeLast();
        // A list shows no text in the columns a row leaves empty.
        while (!cells.isEmpty() && cells.last().isEmpty()) {
            cells.removeLast();
        }
        if (!cells.isEmpty()) {
            rows.push_back(cells);
        }
    }
    return rows;
}

inline std::vector<QStringList> ShownRows(const CXListCtrl& list) {
    std::vector<QStringList> rows;
    for (int row = 0; row < list.RowCount(); ++row) {
        QStringList cells;
        for (int column = 0; column < list.ColumnCount(); ++column) {
            cells << list.GetItemText(row, column);
        }
        while (!cells.isEmpty() && cells.last().isEmpty()) {
            cells.removeLast();
        }
        rows.push_back(cells);
    }
    return rows;
}

template <typename Widget>
Widget& Child(const QWidget& dialog, const char* name) {
    auto* widget = dialog.findChild<Widget*>(QString::fromLatin1(name));
    if (widget == nullptr) {
        qFatal("no child %s", name);
    }
    return *widget;
}

// The lines a report view shows, a line feed between them and after the last one where
// the report ended it.
inline QString ShownText(const ReportTextView& view) {
    QStringList lines;
    for (int line = 0; line < view.LineCount(); ++line) {
        lines << view.Line(line);
    }
    const std::string& text = view.Text();
    const bool ended = !text.empty() && (text.back() == '\n' || text.back() == '\r');
    return lines.join(QLatin1Char('\n')) + (ended ? QStringLiteral("\n") : QString());
}

inline QString ReportBoxText(const QWidget& dialog) {
    return ShownText(Child<ReportTextView>(dialog, "report"));
}

inline QStringList Items(const QComboBox& box) {
    QStringList items;
    for (int i = 0; i < box.count(); ++i) {
        items << box.itemText(i);
    }
    return items;
}

// Selects the item with that text, as choosing it in the box's pop-up does.
inline void ChooseItem(QComboBox& box, const QString& text) {
    const int index = box.findText(text);
    QVERIFY2(index >= 0, qPrintable(text));
    box.setCurrentIndex(index);
}

// Clicks the button named `name` of the dialog.
inline void ClickButton(const QWidget& dialog, const char* name) {
    QTest::mouseClick(&Child<QAbstractButton>(dialog, name), Qt::LeftButton);
}

inline void ClickHeader(CXListCtrl& list, int column) {
    QHeaderView* header = list.horizontalHeader();
    const QPoint at(header->sectionViewportPosition(column) + header->sectionSize(column) / 2,
                    header->height() / 2);
    QTest::mouseClick(header->viewport(), Qt::LeftButton, {}, at);
}

// The demo portfolio, with sales over several years, grants, dividends and a split.
struct DemoFixture {
    DemoFixture() { BuildDemoPortfolio(doc); }
    Settings settings;
    CKx7Doc doc{settings};
};

// The time the report tests run at.
inline std::int64_t ReportTestNow() {
    return LocalTimeOf(2024, 6, 3, 15, 30);
}
