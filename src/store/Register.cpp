#include "store/Register.h"

#include "store/RowChange.h"

Register::Register(QObject *parent)
    : QObject(parent)
{
}

void Register::recordChange(const QString &caption, RowChange &&change)
{
    if (!change.isEmpty())
        emit changeRecorded(caption, std::make_shared<const RowChange>(std::move(change)));
}
