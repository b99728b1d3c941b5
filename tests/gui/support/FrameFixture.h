#pragma once

#include <QAbstractButton>
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <QTemporaryDir>
#include <QTimer>
#include <functional>
#include <memory>
#include <string>

#include "core/figures/UpdateWorkerSwitch.h"
#include "core/model/DocumentStorage.h"
#include "core/model/Kx7Doc.h"
#include "core/settings/Settings.h"
#include "desktop/app/RecentFileList.h"
#include "desktop/mainwindow/MainFrm.h"

// Stands in for the portfolio file code: a file holds the owner name only. A file whose
// name contains "damaged" cannot be read, "partial" is read with a warning, and a path
// inside a folder named "readonly" cannot be written.
class FakeStorage final : public DocumentStorage {
public:
    StorageOutcome Load(CKx7Doc& doc, const std::string& path) override {
        ++loads;
        StorageOutcome outcome;
        QFile file(QString::fromStdString(path));
        if (path.find("damaged") != std::string::npos || !file.open(QIODevice::ReadOnly)) {
            outcome.error = "The file could not be read: " + path;
            return outcome;
        }
        doc.SetPortfolioInformation(file.readAll().toStdString(), "");
        if (path.find("partial") != std::string::npos) {
            outcome.warning = "Part of the file could not be read.";
        }
        outcome.stamp = ReadFileStamp(path);
        return outcome;
    }

    StorageOutcome Save(const CKx7Doc& doc, const std::string& path) override {
        StorageOutcome outcome;
        QFile file(QString::fromStdString(path));
        if (path.find("/readonly/") != std::string::npos || !file.open(QIODevice::WriteOnly)) {
            outcome.error = "The file could not be written: " + path;
            return outcome;
        }
        file.write(QByteArray::fromStdString(doc.OwnerName()));
        file.close();
        outcome.stamp = ReadFileStamp(path);
        return outcome;
    }

    int loads = 0;
};

// A main window over its own document, settings and storage.
struct FrameFixture {
    FrameFixture() : frame(doc, settings, storage, recentFiles, worker) {}

    QString PathOf(const QString& name) const { return folder.filePath(name); }

    // Writes a portfolio file the fake storage can read.
    QString WriteFile(const QString& name, const QByteArray& owner = "Owner") const {
        QFile file(PathOf(name));
        file.open(QIODevice::WriteOnly);
        file.write(owner);
        return PathOf(name);
    }

    QTemporaryDir folder;
    Settings settings;
    CKx7Doc doc{settings};
    FakeStorage storage;
    CRecentFileList recentFiles;
    NoUpdateWorker worker;
    CMainFrame frame;
};

// Runs `action` on the next modal dialog once it is open (polling, since the dialog
// opens inside the call under test).
inline void OnNextModal(std::function<void(QWidget*)> action) {
    auto* timer = new QTimer;
    timer->setInterval(10);
    QObject::connect(timer, &QTimer::timeout, [timer, action] {
        QWidget* modal = QApplication::activeModalWidget();
        if (modal == nullptr) {
            return;
        }
        timer->stop();
        timer->deleteLater();
        action(modal);
    });
    timer->start();
}

// Picks `path` in an open file dialog and accepts it. The name goes into the name field
// directly: selectFile() leaves the field alone while it has the focus, which it gets at
// a moment of the window system's choosing, and the dialog would then open the folder
// instead of accepting.
inline void AcceptFile(QFileDialog& dialog, const QString& path) {
    dialog.selectFile(path);
    if (auto* name = dialog.findChild<QLineEdit*>(QStringLiteral("fileNameEdit"))) {
        name->setText(path);
    }
    static_cast<QDialog&>(dialog).accept();
}

// Answers the next message box with `button` and keeps its text in `text`.
inline void AnswerMessageBox(QMessageBox::StandardButton button, QString* text = nullptr) {
    OnNextModal([button, text](QWidget* modal) {
        auto* box = qobject_cast<QMessageBox*>(modal);
        if (box == nullptr) {
            modal->close();
            return;
        }
        if (text != nullptr) {
            *text = box->text();
        }
        box->button(button)->click();
    });
}

inline QString ScreenshotFolder() {
    const QString folder = QStringLiteral(QT_TESTCASE_BUILDDIR "/screenshots");
    QDir().mkpath(folder);
    return folder;
}
