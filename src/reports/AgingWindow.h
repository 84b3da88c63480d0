#pragma once

#include "reports/Aging.h"
#include "reports/ReportTexts.h"

#include <QWidget>

#include <functional>

class QLabel;
class QTableWidget;
class Session;

// The aging per client/supplier of the active sheet: credits and debits each in
// a table, amounts per bucket of days overdue as of today. A row (double-click
// or Enter) asks for the list on that client/supplier; the report window prints
// the same tables and the export writes them as tab-separated text. Opens
// without blocking, owned by the main window; reads again on every change.
class AgingWindow final : public QWidget
{
    Q_OBJECT

public:
    explicit AgingWindow(Session &session, QWidget *parent = nullptr);
    ~AgingWindow() override;

    // Reads the sheet again and shows the window in front.
    void showAging();

    const Aging &aging() const { return m_aging; }
    QTableWidget *creditsTable() const { return m_tables[0]; }
    QTableWidget *debitsTable() const { return m_tables[1]; }

    // Opens the report window on the aging.
    void print();
    // Asks for a file and writes the tables as tab-separated text.
    void exportToText();

signals:
    // type 1 for a client's credits, -1 for a supplier's debits; id 0 and an
    // empty name for the deadlines without one.
    void counterpartyChosen(int type, qint32 counterpartyId, const QString &name);

protected:
    void showEvent(QShowEvent *event) override;

private:
    void reload();
    void fillTable(int which, const AgingTable &table);
    void rowActivated(int which, int row);

    Session &m_session;
    ReportTexts m_texts;
    Aging m_aging;
    bool m_stale = true;
    QLabel *m_asOfLabel = nullptr;
    QTableWidget *m_tables[2] = {};
};

// The aging window of parent, made on first use with chosen hearing its rows,
// read again and shown in front.
AgingWindow *showAgingWindow(Session &session, QWidget *parent,
                             const std::function<void(int type, qint32 counterpartyId, const QString &name)> &chosen);
