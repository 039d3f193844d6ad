#pragma once

#include <QObject>
#include <QStringList>
#include <QTimer>

// Answers every message box that opens while it lives, so that modal boxes
// cannot block a test, and records "title: text" of each one.
class ModalBoxWatcher : public QObject {
    Q_OBJECT

public:
    ModalBoxWatcher();

    QStringList boxes;

private slots:
    void answerOpenBoxes();

private:
    QTimer m_timer;
};
