#pragma once

#include <QDialog>

class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QSpinBox;
class SettingsStore;

// Tools > Change database > A shared register on a server: the server, port,
// database, user, password and encryption, or a service of pg_service.conf.
// Test connection tries them before anything is kept; Save keeps the register
// for the next start and the password in the desktop's keyring, never in the
// settings. Asked for a register to copy into, it keeps nothing: the caller
// takes connectionName().
class ServerRegisterDialog final : public QDialog
{
    Q_OBJECT

public:
    enum class Purpose { Keep, CopyInto };
    explicit ServerRegisterDialog(SettingsStore &settings, QWidget *parent = nullptr,
                                  Purpose purpose = Purpose::Keep);

    // The register the fields name (ServerAddress), without the password.
    QString registerName() const;
    // The register with the typed password, for the driver only: never shown or kept.
    QString connectionName() const;
    // Tries the fields and says how it went.
    void testConnection();
    // Keeps the register and its password; closes unless nothing was kept.
    void save();

private:
    void fill(const QString &registerName);
    void followService();

    SettingsStore &m_settings;
    Purpose m_purpose;
    QLineEdit *m_service = nullptr;
    QLineEdit *m_host = nullptr;
    QSpinBox *m_port = nullptr;
    QLineEdit *m_database = nullptr;
    QLineEdit *m_user = nullptr;
    QLineEdit *m_password = nullptr;
    QComboBox *m_encryption = nullptr;
    QPushButton *m_saveButton = nullptr;
};
