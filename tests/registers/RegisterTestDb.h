#pragma once

#include "../deadlines/DeadlineTestDb.h"
#include "../support/TestRows.h"

#include "platform/Pauses.h"
#include "platform/Prompts.h"
#include "startup/Texts.h"

#include <QApplication>
#include <QDialog>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include <functional>

// A fresh database with English texts, no pauses and scripted answers.
class RegisterTestDb final
{
public:
    RegisterTestDb()
    {
        Texts::setLanguage(Language::English);
        Pauses::setScale(0);
    }
    DeadlineTestDb db;
    Prompt::ScriptedPrompts prompts;

    QString cs() const { return db.connectionString(); }
    int count(const QString &query) const { return firstValue(cs(), query).toInt(); }
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
