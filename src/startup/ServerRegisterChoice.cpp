#include "startup/ServerRegisterChoice.h"

#include "platform/Keyring.h"
#include "startup/DbErrorText.h"
#include "startup/ServerAddress.h"
#include "startup/Setting.h"
#include "startup/SettingsStore.h"
#include "startup/Texts.h"
#include "store/Connection.h"
#include "store/DbError.h"

namespace {

constexpr int WorksText = 2959;       // "The shared register %1 answers: ..."
constexpr int NoKeyringText = 2963;   // "The password is not kept: ... ~/.pgpass ..."

} // namespace

ServerRegisterChoice::Tried ServerRegisterChoice::test(const QString &registerName, const QString &password)
{
    const QString connectionString = ServerAddress::withPassword(registerName, password);
    try {
        Connection connection;
        connection.open(connectionString);
        connection.close();
    } catch (const DbError &error) {
        return {false, DbErrorText::registerSentence(error, connectionString)};
    }
    return {true, Texts::text(WorksText).arg(ServerAddress::shownName(registerName))};
}

QString ServerRegisterChoice::store(SettingsStore &settings, const QString &registerName, const QString &password)
{
    settings.setText(Setting::ServerRegister, registerName);
    if (password.isEmpty())
        return {};
    const Keyring::Written kept = Keyring::current().write(registerName, password);
    if (kept.outcome == Keyring::Outcome::Done)
        return {};
    return Texts::text(NoKeyringText).arg(kept.detail.isEmpty() ? QStringLiteral("-") : kept.detail);
}
