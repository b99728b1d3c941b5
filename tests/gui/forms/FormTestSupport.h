#pragma once

// Helpers of the form tests: find a field by its label as a person would, answer the next
// modal window, hear the beeps and keep a picture of each form.

#include <QAbstractButton>
#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QTest>
#include <QTimer>
#include <functional>
#include <memory>
#include <utility>
#include <vector>

#include "desktop/controls/XListCtrl.h"
#include "desktop/forms/Beep.h"

namespace formtest {

inline QString Plain(QString text) {
    return text.remove(QLatin1Char('&'));
}

// The field a label names.
template <typename Field>
Field* FieldOf(const QWidget* form, const QString& label) {
    for (QLabel* candidate : form->findChildren<QLabel*>()) {
        if (Plain(candidate->text()) == label && candidate->buddy() != nullptr) {
            return qobject_cast<Field*>(candidate->buddy());
        }
    }
    return nullptr;
}

inline QAbstractButton* ButtonOf(const QWidget* form, const QString& text) {
    for (QAbstractButton* button : form->findChildren<QAbstractButton*>()) {
        if (Plain(button->text()) == text && button->isVisible()) {
            return button;
        }
    }
    return nullptr;
}

inline void Type(QLineEdit* field, const QString& text) {
    field->setFocus();
    field->selectAll();
    QTest::keyClick(field, Qt::Key_Delete);
    QTest::keyClicks(field, text);
}

inline void Click(const QWidget* form, const QString& text) {
    QAbstractButton* button = ButtonOf(form, text);
    QVERIFY2(button != nullptr, qPrintable(text));
    // A check box or option button takes clicks on its mark and text only, at its left.
    const bool marked = button->isCheckable() && !button->inherits("QPushButton");
    QTest::mouseClick(button, Qt::LeftButton, {},
                      marked ? QPoint(8, button->height() / 2) : button->rect().center());
}

// Picks an entry from a drop-down list as a person would: the selection moves and the
// list reports the choice.
inline void Choose(QComboBox* box, const QString& text) {
    const int index = box->findText(text);
    QVERIFY2(index >= 0, qPrintable(text));
    box->setCurrentIndex(index);
    emit box->activated(index);
}

// A click on a row of a list control.
inline void ClickRow(CXListCtrl* list, int row) {
    const QRect cell = list->visualRect(list->model()->index(row, 0));
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, cell.center());
}

// The texts of one column, top to bottom.
inline QStringList ColumnTexts(const CXListCtrl* list, int column) {
    QStringList texts;
    for (int row = 0; row < list->RowCount(); ++row) {
        texts << list->GetItemText(row, column);
    }
    return texts;
}

// Runs `action` on the next modal window that opens above the one modal now.
inline void WhenModal(std::function<void(QWidget*)> action) {
    QWidget* const before = QApplication::activeModalWidget();
    auto poll = std::make_shared<std::function<void(int)>>();
    *poll = [before, action = std::move(action), weak = std::weak_ptr(poll)](int left) {
        QWidget* now = QApplication::activeModalWidget();
        if (now != nullptr && now != before && now->isVisible()) {
            action(now);
            return;
        }
        if (left > 0) {
            if (const auto self = weak.lock()) {
                QTimer::singleShot(10, [self, left] { (*self)(left - 1); });
            }
        }
    };
    QTimer::singleShot(0, [poll] { (*poll)(500); });
}

// Closes the next message box and keeps its text.
inline void AnswerMessage(QString& text) {
    WhenModal([&text](QWidget* window) {
        auto* box = qobject_cast<QMessageBox*>(window);
        if (box == nullptr) {
            text = QStringLiteral("<not a message box>");
            window->close();
            return;
        }
        text = box->text();
        box->accept();
    });
}

// Every beep while it lives.
class BeepLog {
public:
    BeepLog() {
        m_previous = SetBeepRecorder([this](int frequency, int milliseconds) {
            beeps.emplace_back(frequency, milliseconds);
        });
    }
    ~BeepLog() { SetBeepRecorder(std::move(m_previous)); }
    BeepLog(const BeepLog&) = delete;
    BeepLog& operator=(const BeepLog&) = delete;

    std::vector<std::pair<int, int>> beeps;

private:
    BeepRecorder m_previous;
};

inline const std::pair<int, int> kRefused{1000, 1000};
inline const std::pair<int, int> kAmountRefused{100, 100};

inline std::vector<std::pair<int, int>> Beeps(int count, std::pair<int, int> beep) {
    return std::vector<std::pair<int, int>>(static_cast<std::size_t>(count), beep);
}

// A picture of the form in <build>/form-shots, to be looked at.
inline void SaveShot(QWidget* form, const QString& name) {
    form->show();
    form->adjustSize();
    QApplication::processEvents();
    const QString folder = QCoreApplication::applicationDirPath() + QStringLiteral("/form-shots");
    QDir().mkpath(folder);
    form->grab().save(folder + QLatin1Char('/') + name + QStringLiteral(".png"));
}

}  // namespace formtest
