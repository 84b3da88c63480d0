#include "store/Register.h"

Register::Register(QObject *parent)
    : QObject(parent)
{
}
