#pragma once

#include "PortalAnswer.h"

#include <QObject>
#include <QString>
#include <QtQml/qqmlregistration.h>

// Where a place chosen in the desktop's save dialog is told when nobody waits for that dialog any
// more: its save had ended, or its export sheet had closed, before the dialog answered. One for
// the window's engine, it outlives every sheet and keeps the closing of such dialogs going; the
// window shows what it tells (LateSaveAnswerAlert). Nothing is ever saved there.
class LateSaveAnswers : public QObject
{
    Q_OBJECT
    QML_ELEMENT
    QML_SINGLETON

public:
    explicit LateSaveAnswers(QObject *parent = nullptr);

    // The dialog answered `chosen` (a Response's reading) after its save had ended, having saved
    // to `savedPath` or nowhere (empty). Nothing is told when the place is the one saved to.
    void tellNotUsed(const PortalAnswer &chosen, const QString &savedPath);

Q_SIGNALS:
    void placeNotUsed(const QString &message);
};
