#pragma once

#include <QString>

#include <stdexcept>

// The values the program keeps for the user between runs: named whole numbers and
// texts in an INI file, by default the user's own file for "Kestrum" / "Orvel 2"
// (~/.config/Kestrum/Orvel 2.ini). A missing value, or a number that does not read
// as one, gives the caller's default; a write that does not reach the disk throws.
class SettingsStore
{
public:
    // A whole-number setting: its stored name and what a missing value reads as.
    struct Integer
    {
        const char *name;
        int defaultValue;
    };

    // The store's one error: a value could not be written. what() and message()
    // say in the user's language which preference was lost and in which file.
    class WriteError : public std::runtime_error
    {
    public:
        WriteError(const QString &name, const QString &fileName);
        QString message() const { return QString::fromUtf8(what()); }
        QString name() const { return m_name; }

    private:
        QString m_name;
    };

    SettingsStore();
    explicit SettingsStore(const QString &fileName);

    QString fileName() const { return m_fileName; }

    int integer(const QString &name, int defaultValue) const;
    int integer(const Integer &setting) const;
    QString text(const QString &name, const QString &defaultValue = {}) const;

    void setInteger(const QString &name, int value);
    void setInteger(const Integer &setting, int value);
    void setText(const QString &name, const QString &value);

private:
    void write(const QString &name, const QVariant &value);

    QString m_fileName;
};
