#pragma once
#include <QObject>
#include <QString>

class QLocalServer;

// Finds a running copy of the program by its title through a local socket named after the
// title and the user. The first copy listens; a later copy asks it to come to the front.
class InstanceChannel final : public QObject {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(InstanceChannel)
public:
    explicit InstanceChannel(const QString& title, QObject* parent = nullptr);
    ~InstanceChannel() override;

    // True when a running copy answered and was asked to come to the front.
    bool signalRunningCopy(int timeoutMs = 1000);
    // Starts listening for later copies; false when a live copy holds the name.
    bool listen();
    bool isListening() const;
    const QString& serverName() const { return name_; }

signals:
    // A later copy asked this one to come to the front.
    void activationRequested();

private:
    QString name_;
    QLocalServer* server_ = nullptr;
};
