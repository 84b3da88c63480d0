#pragma once

#include "../deadlines/DeadlineTestDb.h"
#include "../support/TestRows.h"
#include "platform/Prompts.h"

#include <QApplication>
#include <QDialog>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include <functional>

// The database of the windows' tests, with scripted answers to every question.
struct WindowTestDb : DeadlineTestDb
{
    Prompt::ScriptedPrompts prompts;
};

// Runs act on the modal dialog of type T that the next call opens; a dialog that
// act left open (a failed check) is cancelled so the test ends instead of hanging.
template<typename T>
void onNextModal(QObject *context, std::function<void(T *)> act)
{
    QTimer::singleShot(0, context, [act] {
        auto *dialog = qobject_cast<T *>(QApplication::activeModalWidget());
        QVERIFY2(dialog, "no modal dialog of the expected kind");
        act(dialog);
        if (dialog->isVisible())
            dialog->reject();
    });
}

inline void clickButton(QWidget *dialog, const QString &name)
{
    auto *button = dialog->findChild<QPushButton *>(name);
    QVERIFY2(button, qPrintable(name));
    QTest::mouseClick(button, Qt::LeftButton);
}
