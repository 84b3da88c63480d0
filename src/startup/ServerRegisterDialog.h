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
// settings.
class ServerRegisterDialog final : public QDialog
{
    Q_OBJECT

public:
    explicit ServerRegisterDialog(SettingsStore &settings, QWidget *parent = nullptr);

    // The register the fields name (ServerAddress), without the password.
    QString registerName() const;
    // Tries the fields and says how it went.
    void testConnection();
    // Keeps the register and its password; closes unless nothing was kept.
    void save();

private:
    void fill(const QString &registerName);
    void followService();

    SettingsStore &m_settings;
    QLineEdit *m_service = nullptr;
    QLineEdit *m_host = nullptr;
    QSpinBox *m_port = nullptr;
    QLineEdit *m_database = nullptr;
    QLineEdit *m_user = nullptr;
    QLineEdit *m_password = nullptr;
    QComboBox *m_encryption = nullptr;
    QPushButton *m_saveButton = nullptr;
};
