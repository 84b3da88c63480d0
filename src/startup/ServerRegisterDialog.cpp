#include "startup/ServerRegisterDialog.h"

#include "platform/Prompts.h"
#include "platform/WidgetPrompts.h"
#include "startup/ServerAddress.h"
#include "startup/ServerRegisterChoice.h"
#include "startup/Session.h"
#include "startup/Setting.h"
#include "startup/SettingsStore.h"
#include "startup/Texts.h"

#include <QApplication>
#include <QComboBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QVBoxLayout>

namespace {

constexpr int TitleText = 2954;        // "A shared register on a &server…"
constexpr int LabelsText = 2956;       // "Service:|Server:|Port:|Database:|User:|Password:|Encryption:"
constexpr int EncryptionText = 2957;   // the three sslmode choices, '|'-separated
constexpr int TestText = 2958;         // "&Test connection"
constexpr int CopyText = 2965;         // "&Copy"

QString title()
{
    QString text = Texts::text(TitleText);
    return text.remove(u'&').remove(QChar(0x2026)).trimmed();
}

QLineEdit *field(const char *name, QWidget *parent)
{
    auto *edit = new QLineEdit(parent);
    edit->setObjectName(QLatin1String(name));
    return edit;
}

} // namespace

ServerRegisterDialog::ServerRegisterDialog(SettingsStore &settings, QWidget *parent, Purpose purpose)
    : QDialog(parent)
    , m_settings(settings)
    , m_purpose(purpose)
{
    setObjectName(QStringLiteral("serverRegisterDialog"));
    setModal(true);
    setWindowTitle(title());
    const QStringList labels = Texts::text(LabelsText).split(u'|');
    m_service = field("serviceEdit", this);
    m_host = field("hostEdit", this);
    m_port = new QSpinBox(this);
    m_port->setObjectName(QStringLiteral("portBox"));
    m_port->setRange(1, 65535);
    m_port->setValue(5432);
    m_database = field("databaseEdit", this);
    m_user = field("userEdit", this);
    m_password = field("passwordEdit", this);
    m_password->setEchoMode(QLineEdit::Password);
    m_encryption = new QComboBox(this);
    m_encryption->setObjectName(QStringLiteral("encryptionBox"));
    m_encryption->addItems(Texts::text(EncryptionText).split(u'|'));

    // The server's fields first; a service, which stands for all of them, last.
    auto *form = new QFormLayout;
    const QList<QWidget *> fields{m_service, m_host, m_port, m_database, m_user, m_password, m_encryption};
    for (int i = 1; i < int(fields.size()); ++i)
        form->addRow(labels.value(i), fields.at(i));
    form->addRow(labels.value(0), m_service);

    auto *testButton = new QPushButton(Texts::text(TestText), this);
    testButton->setObjectName(QStringLiteral("testButton"));
    m_saveButton = new QPushButton(Texts::text(purpose == Purpose::Keep ? 1108 : CopyText), this);
    m_saveButton->setObjectName(QStringLiteral("saveButton"));
    auto *cancelButton = new QPushButton(Texts::text(1109), this);
    cancelButton->setObjectName(QStringLiteral("cancelButton"));
    for (QPushButton *button : {testButton, m_saveButton, cancelButton})
        button->setAutoDefault(false);
    auto *buttons = new QHBoxLayout;
    buttons->addWidget(testButton);
    buttons->addStretch();
    buttons->addWidget(m_saveButton);
    buttons->addWidget(cancelButton);
    auto *main = new QVBoxLayout(this);
    main->addLayout(form);
    main->addLayout(buttons);

    connect(testButton, &QPushButton::clicked, this, &ServerRegisterDialog::testConnection);
    connect(m_saveButton, &QPushButton::clicked, this, &ServerRegisterDialog::save);
    connect(cancelButton, &QPushButton::clicked, this, &QDialog::reject);
    connect(m_service, &QLineEdit::textChanged, this, &ServerRegisterDialog::followService);
    connect(m_database, &QLineEdit::textChanged, this, &ServerRegisterDialog::followService);
    const QList<QWidget *> order{m_host, m_port, m_database, m_user, m_password, m_encryption, m_service,
                                 testButton, m_saveButton, cancelButton};
    for (int i = 1; i < int(order.size()); ++i)
        setTabOrder(order.at(i - 1), order.at(i));
    m_host->setFocus();
    if (purpose == Purpose::Keep)
        fill(settings.text(Setting::ServerRegister));
    followService();
    setMinimumWidth(420);
    removeCloseCommand(this);
}

void ServerRegisterDialog::fill(const QString &registerName)
{
    const std::optional<ServerAddress::Fields> fields = ServerAddress::fields(registerName);
    if (!fields)
        return;
    m_service->setText(fields->service);
    m_host->setText(fields->host);
    m_port->setValue(fields->port);
    m_database->setText(fields->database);
    m_user->setText(fields->user);
    m_encryption->setCurrentIndex(int(fields->encryption));
}

void ServerRegisterDialog::followService()
{
    // A service names the server, the database and the user in pg_service.conf,
    // and its password comes from there or ~/.pgpass.
    const bool byService = !m_service->text().trimmed().isEmpty();
    for (QWidget *field : std::initializer_list<QWidget *>{m_host, m_port, m_database, m_user, m_password, m_encryption})
        field->setEnabled(!byService);
    m_saveButton->setEnabled(byService || !m_database->text().trimmed().isEmpty());
}

QString ServerRegisterDialog::registerName() const
{
    ServerAddress::Fields fields;
    fields.service = m_service->text().trimmed();
    fields.host = m_host->text().trimmed();
    fields.port = m_port->value();
    fields.database = m_database->text();
    fields.user = m_user->text();
    fields.encryption = ServerAddress::Encryption(m_encryption->currentIndex());
    return ServerAddress::uri(fields);
}

QString ServerRegisterDialog::connectionName() const
{
    // A service's password comes from pg_service.conf or ~/.pgpass.
    if (!m_service->text().trimmed().isEmpty())
        return registerName();
    return ServerAddress::withPassword(registerName(), m_password->text());
}

void ServerRegisterDialog::testConnection()
{
    QApplication::setOverrideCursor(Qt::WaitCursor);
    const ServerRegisterChoice::Tried tried = ServerRegisterChoice::test(registerName(), m_password->text());
    QApplication::restoreOverrideCursor();
    Prompt::message(tried.text, title(), tried.works ? Prompt::Icon::Information : Prompt::Icon::Warning);
}

void ServerRegisterDialog::save()
{
    if (!m_saveButton->isEnabled())
        return;
    if (m_purpose == Purpose::CopyInto) {
        accept();
        return;
    }
    QString notice;
    try {
        const QString password = m_service->text().trimmed().isEmpty() ? m_password->text() : QString();
        notice = ServerRegisterChoice::store(m_settings, registerName(), password);
    } catch (const SettingsStore::WriteError &error) {
        Prompt::message(error.message(), Session::AppTitle, Prompt::Icon::Warning);
        return;
    }
    if (!notice.isEmpty())
        Prompt::message(notice, Session::AppTitle, Prompt::Icon::Information);
    accept();
}
