#pragma once

#include "platform/grid/GridAccessible.h"

#include <QAccessible>
#include <QList>
#include <QString>
#include <QStringList>

// What a screen reader would hear from the grids while it lives: each event's
// cell, asked for at once as the desktop bridge does, and Qt's warnings about
// accessible objects on the way.
class HeardEvents
{
public:
    struct Heard
    {
        QAccessible::Event type;
        int row;   // the cell's listed row, 0-based; -2 when the event named no cell
        QString name;
        QString description;
    };

    HeardEvents()
    {
        events().clear();
        warnings().clear();
        GridAccessibleTable::setListener(listen);
        previous() = qInstallMessageHandler(keepWarnings);
    }
    ~HeardEvents()
    {
        qInstallMessageHandler(previous());
        GridAccessibleTable::setListener(nullptr);
    }

    static QList<Heard> &events()
    {
        static QList<Heard> heard;
        return heard;
    }
    static QStringList &warnings()
    {
        static QStringList kept;
        return kept;
    }
    // The last event of `type`, or one with row -3 when there was none.
    static Heard last(QAccessible::Event type)
    {
        for (auto it = events().crbegin(); it != events().crend(); ++it)
            if (it->type == type)
                return *it;
        return {type, -3, {}, {}};
    }

private:
    static void listen(QAccessibleEvent *event)
    {
        QAccessibleInterface *cell = event->accessibleInterface();
        QAccessibleTableCellInterface *tableCell = cell ? cell->tableCellInterface() : nullptr;
        events().append({event->type(), tableCell ? tableCell->rowIndex() : -2,
                         cell ? cell->text(QAccessible::Name) : QString(),
                         cell ? cell->text(QAccessible::Description) : QString()});
    }
    static QtMessageHandler &previous()
    {
        static QtMessageHandler handler = nullptr;
        return handler;
    }
    static void keepWarnings(QtMsgType type, const QMessageLogContext &context, const QString &message)
    {
        if (type == QtWarningMsg && message.contains(QLatin1String("accessible")))
            warnings() << message;
        previous()(type, context, message);
    }
};
