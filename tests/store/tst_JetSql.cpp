#include "store/DbError.h"
#include "store/JetSql.h"

#include <QtTest>

// The translator reads Jet text the way the program writes it and must leave
// the inside of every quoted text alone.
class tst_JetSql final : public QObject
{
    Q_OBJECT

private:
    static SchemaInfo schema()
    {
        using K = ColumnKind;
        SchemaInfo s;
        s.tables.insert("transactions", {{"TrRowId", K::Counter}, {"TrDbId", K::Integer}, {"TrType", K::Integer},
                                         {"TrDone", K::YesNo}, {"TrDate", K::Date}, {"TrDescription", K::Text},
                                         {"TrAcId", K::Integer}, {"TrValue", K::Currency}, {"TrBalance", K::Currency},
                                         {"TrGrpType", K::Text}, {"TrGrpRow", K::Integer}, {"TrGrpMDay", K::Integer},
                                         {"TrNotes", K::Memo}, {"TrGrpId", K::Integer}});
        s.tables.insert("accounts", {{"AcId", K::Counter}, {"AcName", K::Text}, {"AcNotes", K::Memo}});
        s.tables.insert("dbs", {{"DbId", K::Integer}, {"DbName", K::Text}});
        return s;
    }

private slots:
    void translatesProgramStatements_data()
    {
        QTest::addColumn<QString>("jet");
        QTest::addColumn<QString>("expected");

        QTest::newRow("toggle done") << "UPDATE Transactions SET Transactions.TrDone = Not [TrDone] WHERE Transactions.TrRowId=5"
                                     << "UPDATE Transactions SET TrDone = Not TrDone WHERE Transactions.TrRowId=5";
        QTest::newRow("delete star") << "DELETE * FROM Transactions WHERE TrDbId=3"
                                     << "DELETE FROM Transactions WHERE TrDbId=3";
        QTest::newRow("insert deadline")
            << "INSERT INTO Transactions ( TrDbId, TrType, TrDate, TrDescription, TrNotes, TrAcId, TrValue, TrBalance, TrGrpType, TrGrpId ) "
               "SELECT 1, -1, #04/03/2017#, 'Rent', '', 0,  12.5, -12.5, 'n', 0"
            << "INSERT INTO Transactions ( TrDbId, TrType, TrDate, TrDescription, TrNotes, TrAcId, TrValue, TrBalance, TrGrpType, TrGrpId ) "
               "SELECT 1, -1, '2017-04-03', 'Rent', '', 0,  125000, -125000, 'n', 0";
        QTest::newRow("view filter") << "SELECT TrRowId FROM Transactions Where TrDbId=3 AND (TrDone=False And TrType=-2 )"
                                     << "SELECT TrRowId FROM Transactions Where TrDbId=3 AND (TrDone=0 And TrType=-2 )";
        QTest::newRow("far dates") << "SELECT TrRowId FROM Transactions WHERE TrDone=False AND (TrDate Between #01/01/0100# And #12/31/9999# ) AND TrDbId=1"
                                   << "SELECT TrRowId FROM Transactions WHERE TrDone=0 AND (TrDate Between '0100-01-01' And '9999-12-31' ) AND TrDbId=1";
        QTest::newRow("search field")
            << "SELECT Accounts.*, Trim(TrDescription & ' ' & Accounts.AcName & ' ' & TrNotes) AS SearchField FROM Transactions "
               "LEFT JOIN Accounts ON Transactions.TrAcId = Accounts.AcId "
            << "SELECT Accounts.*, Trim(IFNULL(TrDescription,'') || IFNULL(' ','') || IFNULL(Accounts.AcName,'') || IFNULL(' ','') "
               "|| IFNULL(TrNotes,'')) AS SearchField FROM Transactions LEFT JOIN Accounts ON Transactions.TrAcId = Accounts.AcId ";
        QTest::newRow("concatenation operands") << "SELECT (TrType + 1) & Max(TrDescription) & [Tr Notes] FROM Transactions"
                                                << "SELECT IFNULL((TrType + 1),'') || IFNULL(Max(TrDescription),'') || IFNULL(\"Tr Notes\",'') FROM Transactions";
        QTest::newRow("currency comparisons") << "SELECT TrRowId FROM Transactions WHERE TrValue > 12.5 AND 0.0001 <= Transactions.TrBalance AND TrType=-1"
                                              << "SELECT TrRowId FROM Transactions WHERE TrValue > 125000 AND 1 <= Transactions.TrBalance AND TrType=-1";
        QTest::newRow("currency between") << "SELECT TrRowId FROM Transactions WHERE TrBalance Between -1 And 2.5"
                                          << "SELECT TrRowId FROM Transactions WHERE TrBalance Between -10000 And 25000";
        QTest::newRow("rounding beyond four decimals") << "SELECT 1 FROM Transactions WHERE TrValue = 0.00005 OR TrValue = 1.23454 OR TrValue = 1E+3"
                                                       << "SELECT 1 FROM Transactions WHERE TrValue = 1 OR TrValue = 12345 OR TrValue = 10000000";
        QTest::newRow("largest currency") << "UPDATE Transactions SET TrValue = 922337203685477.5807"
                                          << "UPDATE Transactions SET TrValue = 9223372036854775807";
        QTest::newRow("double quoted text") << "SELECT \"a'b\"\"c\" AS x" << "SELECT 'a''b\"c' AS x";
        QTest::newRow("minus minus is no comment") << "SELECT 5--3" << "SELECT 5- -3";
        QTest::newRow("trailing blank kept") << "SELECT * FROM Dbs " << "SELECT * FROM Dbs ";
    }

    void translatesProgramStatements()
    {
        QFETCH(QString, jet);
        QFETCH(QString, expected);
        QCOMPARE(translateJetSql(jet, schema()), expected);
    }

    void leavesQuotedTextsAlone_data()
    {
        QTest::addColumn<QString>("text");
        QTest::newRow("apostrophe") << "O'Brien's ''";
        QTest::newRow("ampersand") << "Smith & Sons & Null";
        QTest::newRow("brackets") << "[TrDone] [unclosed";
        QTest::newRow("comment") << "a -- not a comment /* nor this";
        QTest::newRow("accents") << "caffè perché Größe ñ";
        QTest::newRow("double quote") << "say \"hi\"";
    }

    void leavesQuotedTextsAlone()
    {
        QFETCH(QString, text);
        const QString quoted = u'\'' + QString(text).replace(u'\'', QStringLiteral("''")) + u'\'';
        const QStringList statements = {
            "INSERT INTO Dbs ( DbId, DbName ) SELECT 7, " + quoted,
            "UPDATE Dbs SET Dbs.DbName = " + quoted + " WHERE DbName<>" + quoted,
            "SELECT TrDescription & " + quoted + " AS x FROM Transactions",
        };
        for (const QString &statement : statements) {
            const QString sql = translateJetSql(statement, schema());
            QVERIFY2(sql.count(quoted) == statement.count(quoted), qPrintable(sql));
        }
    }

    void bindsEveryLiteralAsAParameter()
    {
        const TranslatedSql insert = translateJetStatement(
            "INSERT INTO Transactions ( TrDbId, TrDate, TrDescription, TrValue ) SELECT 1, #04/03/2017#, 'a''b\\c', 12.5",
            schema());
        QCOMPARE(insert.text, QStringLiteral("INSERT INTO Transactions ( TrDbId, TrDate, TrDescription, TrValue ) SELECT ?, ?, ?, ?"));
        QCOMPARE(insert.parameters,
                 QVariantList({qlonglong(1), QStringLiteral("2017-04-03"), QStringLiteral("a'b\\c"), qlonglong(125000)}));

        // Parameters follow the order of the '?' also through "&" chains and
        // comparisons written number first.
        const TranslatedSql select = translateJetStatement(
            "SELECT TrDescription & 'x' & \"y\" AS t, 1.5 AS r FROM Transactions WHERE 2.5 < TrValue AND TrType=-2", schema());
        QCOMPARE(select.text, QStringLiteral("SELECT IFNULL(TrDescription,'') || IFNULL(?,'') || IFNULL(?,'') AS t, ? AS r "
                                             "FROM Transactions WHERE ? < TrValue AND TrType=-?"));
        QCOMPARE(select.parameters, QVariantList({QStringLiteral("x"), QStringLiteral("y"), 1.5, qlonglong(25000), qlonglong(2)}));

        // The empty text stays a text: the driver binds a null string as Null.
        const QVariantList empty = translateJetStatement("UPDATE Accounts SET AcName = '', AcNotes = \"\"", schema()).parameters;
        QCOMPARE(empty.size(), 2);
        QVERIFY(!empty[0].toString().isNull() && !empty[1].toString().isNull());

        // Where SQLite takes no parameter, or a bound number would change the meaning.
        const TranslatedSql ordered = translateJetStatement(
            "SELECT TOP 5 TrRowId FROM Transactions GROUP BY 1 ORDER BY 2 DESC, TrDate + 3", schema());
        QCOMPARE(ordered.text, QStringLiteral("SELECT TOP 5 TrRowId FROM Transactions GROUP BY 1 ORDER BY 2 DESC, TrDate + ?"));
        QCOMPARE(ordered.parameters, QVariantList({qlonglong(3)}));
        const TranslatedSql alter = translateJetStatement("ALTER TABLE Transactions ADD COLUMN TrX VARCHAR(5) DEFAULT 'n'", schema());
        QCOMPARE(alter.text, QStringLiteral("ALTER TABLE Transactions ADD COLUMN TrX VARCHAR(5) DEFAULT 'n'"));
        QVERIFY(alter.parameters.isEmpty());
    }

    void resolvesKindsByTableAndAlias()
    {
        // Two tables share a column name with different kinds; whichever order the
        // schema lists them in, each reference finds its own table.
        for (const bool ledgerFirst : {true, false}) {
            SchemaInfo s;
            const QList<QPair<QString, ColumnKind>> ledger = {{"Id", ColumnKind::Integer}, {"Amount", ColumnKind::Currency}};
            const QList<QPair<QString, ColumnKind>> counts = {{"Id", ColumnKind::Integer}, {"Amount", ColumnKind::Integer}};
            for (int k = 0; k < 40; ++k)   // enough tables for the hash order to differ from the declared one
                s.tables.insert("filler" + QString::number(k), {{"Other", ColumnKind::Text}});
            s.tables.insert("ledger", ledger);
            s.tables.insert("counts", counts);
            s.tableOrder = ledgerFirst ? QStringList{"ledger", "counts"} : QStringList{"counts", "ledger"};
            const QString context = ledgerFirst ? "ledger first" : "counts first";

            TranslatedSql t = translateJetStatement(
                "SELECT L.Amount AS a, c.Amount AS b, Max(c.Amount) AS m FROM Ledger AS L INNER JOIN Counts c ON L.Id = c.Id "
                "WHERE c.Amount > 5 AND L.Amount > 5",
                s);
            QVERIFY2(t.resultKinds.value("a") == ColumnKind::Currency, qPrintable(context));
            QVERIFY2(t.resultKinds.value("b") == ColumnKind::Integer, qPrintable(context));
            QVERIFY2(t.resultKinds.value("m") == ColumnKind::Integer, qPrintable(context));
            QCOMPARE(t.parameters, QVariantList({qlonglong(5), qlonglong(50000)}));
            QCOMPARE(t.sourceTables, QStringList({"ledger", "counts"}));

            // A plain name belongs to the statement's own table.
            t = translateJetStatement("SELECT Amount FROM Counts WHERE Amount = 2", s);
            QVERIFY2(t.resultKinds.value("amount") == ColumnKind::Integer, qPrintable(context));
            QCOMPARE(t.parameters, QVariantList({qlonglong(2)}));
            t = translateJetStatement("UPDATE Ledger SET Amount = 2 WHERE Amount = 1", s);
            QCOMPARE(t.parameters, QVariantList({qlonglong(20000), qlonglong(10000)}));
            // Outside any statement, the declared order decides.
            QCOMPARE(s.kindOf("amount"), ledgerFirst ? ColumnKind::Currency : ColumnKind::Integer);
        }
    }

    void reportsWhatTheSelectListReveals()
    {
        const TranslatedSql t = translateJetStatement(
            "SELECT Min(Transactions.TrDate) AS Date1, Max(TrDate) AS Date2, Count(TrRowId) AS CTR, Sum(TrBalance) AS Total, "
            "Transactions.TrValue, TrDone FROM Transactions WHERE TrDbId=1",
            schema());
        QCOMPARE(t.resultKinds.value("date1"), ColumnKind::Date);
        QCOMPARE(t.resultKinds.value("date2"), ColumnKind::Date);
        QCOMPARE(t.resultKinds.value("ctr"), ColumnKind::Integer);
        QCOMPARE(t.resultKinds.value("total"), ColumnKind::Currency);
        QCOMPARE(t.resultKinds.value("trvalue"), ColumnKind::Currency);
        QCOMPARE(t.resultKinds.value("trdone"), ColumnKind::YesNo);
        QCOMPARE(t.singleTable, QStringLiteral("Transactions"));
        QVERIFY(translateJetStatement("SELECT * FROM Transactions LEFT JOIN Accounts ON TrAcId = AcId", schema()).singleTable.isEmpty());
    }

    void refusesUnreadableStatements_data()
    {
        QTest::addColumn<QString>("jet");
        QTest::newRow("unterminated text") << "SELECT 'abc FROM Dbs";
        QTest::newRow("unterminated double quote") << "SELECT \"abc";
        QTest::newRow("unterminated bracket") << "SELECT [DbName FROM Dbs";
        QTest::newRow("unterminated date") << "SELECT 1 WHERE TrDate=#04/03/2017";
        QTest::newRow("month 13") << "SELECT 1 WHERE TrDate=#13/01/2017#";
        QTest::newRow("30 February") << "SELECT 1 WHERE TrDate=#02/30/2017#";
        QTest::newRow("words in date") << "SELECT 1 WHERE TrDate=#today#";
        QTest::newRow("two-digit year") << "SELECT 1 WHERE TrDate=#04/03/17#";
        QTest::newRow("open parenthesis") << "SELECT (1 FROM Dbs";
        QTest::newRow("currency overflow") << "UPDATE Transactions SET TrValue = 922337203685477.5808";
    }

    void refusesUnreadableStatements()
    {
        QFETCH(QString, jet);
        QVERIFY_THROWS_EXCEPTION(DbError, translateJetSql(jet, schema()));
    }
};

QTEST_GUILESS_MAIN(tst_JetSql)
#include "tst_JetSql.moc"
