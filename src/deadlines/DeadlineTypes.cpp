#include "deadlines/DeadlineTypes.h"

#include "startup/Texts.h"

#include <QComboBox>
#include <QIcon>

namespace DeadlineTypes {

void fill(QComboBox *combo)
{
    combo->clear();
    // The pictures are those of the list's open deadlines, so a type looks the same everywhere.
    combo->addItem(QIcon(QStringLiteral(":/icons/appointment_open.svg")), Texts::text(1043), QStringLiteral("d-2"));
    combo->addItem(QIcon(QStringLiteral(":/icons/debit_open.svg")), Texts::text(1042), QStringLiteral("d-1"));
    combo->addItem(QIcon(QStringLiteral(":/icons/credit_open.svg")), Texts::text(1041), QStringLiteral("d+1"));
    combo->setCurrentIndex(0);
}

int selectedType(const QComboBox *combo)
{
    const QString key = combo->currentData().toString();
    return key.right(2).toInt();
}

void selectType(QComboBox *combo, int trType)
{
    combo->setCurrentIndex(trType == -2 ? 0 : trType == -1 ? 1 : 2);
}

bool isAppointment(const QComboBox *combo)
{
    return combo->currentData().toString() == QLatin1String("d-2");
}

} // namespace DeadlineTypes
