#pragma once

#include <QObject>
#include <QString>

class QLocalServer;

// Lets a second start of the program hand the file it was given to the program already
// running, so the file opens there instead of in a second window.
class CInstanceChannel final : public QObject {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(CInstanceChannel)

public:
    explicit CInstanceChannel(QObject* parent = nullptr);
    ~CInstanceChannel() override;

    // One channel per user, display and settings file; VELMORA_INSTANCE names another
    // (tests).
    static QString DefaultName(const QString& settingsPath);

    // Sends the absolute path of `file` to the program listening on `name`; true when it
    // took the file.
    static bool SendToRunning(const QString& name, const QString& file);

    // Starts listening; a channel left by a program that ended is taken over.
    bool Listen(const QString& name);

signals:
    void OpenRequested(const QString& path);

private:
    void AcceptConnections();

    QLocalServer* m_server = nullptr;
};
