#pragma once

#include "store/Register.h"

#include <QObject>
#include <QStringList>

// What a register announces while this lives, in order: "deadlines 1",
// "counterparties", "sheets", "active sheet 2"; and, for a window passed to
// follow(), the deadline it hands the list to make current: "current 7".
class Announcements final
{
public:
    explicit Announcements(Register &changes)
    {
        QObject::connect(&changes, &Register::deadlinesChanged, &m_context,
                         [this](qint32 sheetId) { heard << QStringLiteral("deadlines %1").arg(sheetId); });
        QObject::connect(&changes, &Register::counterpartiesChanged, &m_context,
                         [this] { heard << QStringLiteral("counterparties"); });
        QObject::connect(&changes, &Register::sheetsChanged, &m_context, [this] { heard << QStringLiteral("sheets"); });
        QObject::connect(&changes, &Register::activeSheetChanged, &m_context,
                         [this](qint32 sheetId) { heard << QStringLiteral("active sheet %1").arg(sheetId); });
    }

    template<typename Window> void follow(Window *window)
    {
        QObject::connect(window, &Window::deadlineSaved, &m_context,
                         [this](qint32 rowId) { heard << QStringLiteral("current %1").arg(rowId); });
    }

    QStringList heard;

private:
    QObject m_context;   // the connections end with this
};
