#include "modalboxwatcher.h"

#include <QApplication>
#include <QMessageBox>

ModalBoxWatcher::ModalBoxWatcher()
{
    connect(&m_timer, &QTimer::timeout, this, &ModalBoxWatcher::answerOpenBoxes);
    m_timer.start(10);
}

void ModalBoxWatcher::answerOpenBoxes()
{
    for (QWidget* widget : QApplication::topLevelWidgets()) {
        auto* box = qobject_cast<QMessageBox*>(widget);
        if (box && box->isVisible()) {
            boxes.append(box->windowTitle() + QStringLiteral(": ") + box->text());
            box->done(QMessageBox::Ok);
        }
    }
}
