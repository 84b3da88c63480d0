#pragma once

#include <QApplication>

// The last line of defence: an error that escapes a command handler is shown
// to the user instead of ending the program with what they were doing.
// It also names the program for the settings and the window system.
class OrvelApplication final : public QApplication
{
public:
    OrvelApplication(int &argc, char **argv);
    bool notify(QObject *receiver, QEvent *event) override;

    // The database in use, which a database error's message names.
    void setConnectionString(const QString &connectionString) { m_connectionString = connectionString; }

    // The message shown for an error that reached the event loop.
    static QString describeError(const std::exception &e, const QString &connectionString);

private:
    QString m_connectionString;
};
