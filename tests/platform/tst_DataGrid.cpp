#include "platform/grid/DataGrid.h"
#include "platform/grid/GridAccessible.h"
#include "platform/grid/GridColours.h"
#include "platform/grid/GridView.h"

#include "../support/HeardEvents.h"

#include <QAccessible>
#include <QHeaderView>
#include <QLabel>
#include <QSignalSpy>
#include <QTest>

#include <tuple>

namespace {

enum Col { Id = 1, Team, Date, Note };

void fill(GridModel &m)
{
    m.setRows({"Id", "Team", "Date", "Note"},
              {
                  {1, "Blue", QDate(2024, 3, 5), "alpha"},
                  {2, "Red", QDate(2024, 1, 10), "beta"},
                  {3, "Blue", QDate(2024, 1, 10), "gamma"},
                  {4, "Red", QDate(2024, 2, 29), "delta"},
              });
}

class ExpiredPresenter final : public GridPresenter
{
public:
    QString rowStyle(const GridRow &row) override
    {
        return row.field(Id).toInt() == 2 ? QStringLiteral("Expired") : QString();
    }
};

} // namespace

class tst_DataGrid final : public QObject
{
    Q_OBJECT

private slots:
    void init()
    {
        m_grid = new DataGrid;
        m_grid->resize(500, 300);
        fill(*m_grid->model());
        m_grid->model()->setNavigatorTemplate(QStringLiteral("Deadline|of"));
        m_grid->show();
        QVERIFY(QTest::qWaitForWindowExposed(m_grid));
    }

    void cleanup()
    {
        delete m_grid;
        m_grid = nullptr;
    }

    // Listed: 1 [Blue] 2 id1 3 id3 4 [Red] 5 id2 6 id4, from row 1 each time: Left
    // closes the group and Down moves on, unless the window took the key first.
    void keyDownIsOfferedToTheWindowFirst()
    {
        GridModel *m = m_grid->model();
        m->addGroup(Team);
        bool consume = false;
        QList<int> offered;
        connect(m_grid, &DataGrid::keyDown, this, [&](int k, Qt::KeyboardModifiers, bool *consumed) {
            offered << k;
            *consumed = consume;
        });
        m_grid->focusList();
        for (const auto &[key, taken, current, expanded] :
             {std::tuple{Qt::Key_Left, false, 1, false}, std::tuple{Qt::Key_Left, true, 1, true},
              std::tuple{Qt::Key_Down, false, 2, true}, std::tuple{Qt::Key_Down, true, 1, true}}) {
            m->setExpanded(1, true);
            m->setCurrentRow(1);
            offered.clear();
            consume = taken;
            QTest::keyClick(m_grid->view(), key);
            QCOMPARE(offered, QList<int>{key});
            QCOMPARE(m->currentRow(), current);
            QCOMPARE(m->isExpanded(1), expanded);
        }
    }

    void headerClickSortsByThatColumn()
    {
        QHeaderView *header = m_grid->view()->header();
        auto clickSection = [header](int logical) {
            const QPoint at(header->sectionViewportPosition(logical) + header->sectionSize(logical) / 2,
                            header->height() / 2);
            QTest::mouseClick(header->viewport(), Qt::LeftButton, {}, at);
        };
        GridModel *m = m_grid->model();
        m->addSortKey(Id);

        clickSection(Date - 1);
        QCOMPARE(m->sortKeys().first(), (GridSortKey{Date, true}));
        QCOMPARE(m->value(1, Id).toInt(), 2);
        QCOMPARE(header->sortIndicatorSection(), Date - 1);
        QCOMPARE(header->sortIndicatorOrder(), Qt::AscendingOrder);

        clickSection(Date - 1);
        QCOMPARE(m->sortKeys().first(), (GridSortKey{Date, false}));
        QCOMPARE(m->value(1, Id).toInt(), 1);
        QCOMPARE(header->sortIndicatorOrder(), Qt::DescendingOrder);
        QCOMPARE(m->sortKeys().size(), 2);
    }

    void viewAndModelShareTheCurrentRow()
    {
        GridModel *m = m_grid->model();
        QSignalSpy changed(m_grid, &DataGrid::currentRowChanged);

        m->setCurrentRow(3);
        QCOMPARE(m_grid->view()->currentIndex().row(), 2);
        QCOMPARE(m_grid->navigatorText(), QStringLiteral("Deadline 3 of 4"));
        QCOMPARE(changed.last().first().toInt(), 3);

        const QRect second = m_grid->view()->visualRect(m->index(1, Team - 1));
        QTest::mouseClick(m_grid->view()->viewport(), Qt::LeftButton, {}, second.center());
        QCOMPARE(m->currentRow(), 2);
        QCOMPARE(changed.last().first().toInt(), 2);
        QCOMPARE(m_grid->navigatorText(), QStringLiteral("Deadline 2 of 4"));

        m->addGroup(Team);   // [Blue] 1 3 [Red] 2 4: row of id 2 is now 5
        QCOMPARE(m->currentRow(), 5);
        QCOMPARE(m_grid->view()->currentIndex().row(), 4);
        QCOMPARE(m_grid->navigatorText(), QStringLiteral("Deadline 5 of 6"));
    }

    void columnsFollowTheModel()
    {
        GridModel *m = m_grid->model();
        QHeaderView *header = m_grid->view()->header();
        m->setColumnVisible(Id, false);
        m->setColumnWidth(Date, 123);
        QVERIFY(m_grid->view()->isColumnHidden(Id - 1));
        QVERIFY(!m_grid->view()->isColumnHidden(Date - 1));
        QCOMPARE(header->sectionSize(Date - 1), 123);
        QVERIFY(!header->sectionsMovable());

        header->resizeSection(Note - 1, 150);   // as a user drag would
        QCOMPARE(m->columnWidth(Note), 150);

        // Settings survive a re-read of the same fields.
        fill(*m);
        QVERIFY(m_grid->view()->isColumnHidden(Id - 1));
        QCOMPARE(header->sectionSize(Date - 1), 123);
    }

    void doubleClickReportsTheRowAndOpensGroups()
    {
        GridModel *m = m_grid->model();
        m->addGroup(Team);
        QSignalSpy clicks(m_grid, &DataGrid::doubleClicked);
        QWidget *viewport = m_grid->view()->viewport();

        QTest::mouseDClick(viewport, Qt::LeftButton, {}, m_grid->view()->visualRect(m->index(2, Note - 1)).center());
        QCOMPARE(clicks.last().first().toInt(), 3);

        QTest::mouseDClick(viewport, Qt::LeftButton, {}, m_grid->view()->visualRect(m->index(0, Note - 1)).center());
        QCOMPARE(clicks.last().first().toInt(), 1);
        QVERIFY(!m->isExpanded(1));
        QCOMPARE(m->rowCount(), 4);

        QTest::mouseDClick(viewport, Qt::LeftButton, {}, QPoint(5, viewport->height() - 5));
        QCOMPARE(clicks.last().first().toInt(), 0);
    }

    void paintsNamedRowStyles_data()
    {
        QTest::addColumn<QPalette>("palette");
        QTest::newRow("light") << QPalette(Qt::black, QColor(0xef, 0xef, 0xef), Qt::white, Qt::darkGray, Qt::gray,
                                           Qt::black, Qt::white, Qt::white, QColor(0xef, 0xef, 0xef));
        // Fusion's dark colours: light text on dark bases.
        QTest::newRow("dark") << QPalette(Qt::white, QColor(0x35, 0x35, 0x35), QColor(0x50, 0x50, 0x50), Qt::black,
                                          QColor(0x40, 0x40, 0x40), Qt::white, Qt::white, QColor(0x2a, 0x2a, 0x2a),
                                          QColor(0x35, 0x35, 0x35));
    }

    void paintsNamedRowStyles()
    {
        QFETCH(QPalette, palette);
        ExpiredPresenter presenter;
        m_grid->setPresenter(&presenter);
        m_grid->setPalette(palette);
        GridModel *m = m_grid->model();
        m->setCurrentRow(4);
        m_grid->setRowStyle(QStringLiteral("EvenRow"), {QColor(1, 2, 3), {}, false});
        m_grid->view()->clearFocus();   // the focus frame would tint the current row
        const QImage image = m_grid->view()->viewport()->grab().toImage();
        auto cellOf = [&](int row) { return m_grid->view()->visualRect(m->index(row - 1, Note - 1)); };
        auto background = [&](int row) { return image.pixelColor(cellOf(row).right() - 2, cellOf(row).center().y()); };
        // The text's most contrasting pixel against the cell's background.
        auto textContrast = [&](int row) {
            const QRect cell = cellOf(row);
            const quint32 back = background(row).rgb() & 0xffffff;
            double best = 1;
            for (int x = cell.left(); x < cell.right(); ++x)
                for (int y = cell.top(); y < cell.bottom(); ++y)
                    best = std::max(best, GridColours::contrastRatio(image.pixel(x, y) & 0xffffff, back));
            return best;
        };
        const QColor expired = m_grid->rowStyle(QStringLiteral("Expired")).background;
        QCOMPARE(background(2), expired);
        QVERIFY(expired != palette.color(QPalette::Base));
        QCOMPARE(background(3), m_grid->rowStyle(QStringLiteral("OddRow")).background);     // odd row
        QCOMPARE(background(3), palette.color(QPalette::Base));
        QCOMPARE(background(4), m_grid->rowStyle(QStringLiteral("SelectedRow")).background);
        for (int row : {1, 2, 3, 4})
            QVERIFY2(textContrast(row) >= GridColours::MinimumContrast, qPrintable(QString::number(row)));
        m->setCurrentRow(1);
        const QImage again = m_grid->view()->viewport()->grab().toImage();
        const QRect cell = m_grid->view()->visualRect(m->index(3, Team - 1));
        QCOMPARE(again.pixelColor(cell.right() - 2, cell.center().y()), QColor(1, 2, 3));     // even row
    }

    void coloursKeepContrast_data()
    {
        QTest::addColumn<uint>("text");
        QTest::addColumn<uint>("background");
        QTest::addColumn<int>("change");   // 0 kept, -1 darker, 1 lighter
        QTest::newRow("black on white stays") << 0x000000u << 0xffffffu << 0;
        QTest::newRow("white on the old fixed yellow") << 0xffffffu << 0xffffeau << -1;
        QTest::newRow("pale dimmed grey on white") << 0xbebebeu << 0xffffffu << -1;
        QTest::newRow("grey on dark grey") << 0x777777u << 0x303030u << 1;
        QTest::newRow("white on mid blue") << 0xffffffu << 0x308cc6u << -1;
        QTest::newRow("white on dark stays") << 0xffffffu << 0x2a2a2au << 0;
    }

    void coloursKeepContrast()
    {
        QFETCH(uint, text);
        QFETCH(uint, background);
        QFETCH(int, change);
        using namespace GridColours;
        const quint32 readable = readableText(text, background);
        QVERIFY(contrastRatio(readable, background) >= MinimumContrast);
        const double shift = relativeLuminance(readable) - relativeLuminance(text);
        QCOMPARE(shift < 0 ? -1 : shift > 0 ? 1 : 0, change);
        // The overdue tint under each palette's text: readable, and not the base itself.
        for (quint32 base : {background, 0xffffffu, 0x2a2a2au}) {
            const quint32 tinted = expiredBackground(base);
            QVERIFY(tinted != base);
            QVERIFY(contrastRatio(readableText(text, tinted), tinted) >= MinimumContrast);
        }
    }

    void screenReaderHearsTheCurrentRow_data()
    {
        QTest::addColumn<QList<int>>("groups");
        QTest::newRow("flat") << QList<int>{};
        QTest::newRow("two group levels") << QList<int>{Team, Date};
    }

    void screenReaderHearsTheCurrentRow()
    {
        QFETCH(QList<int>, groups);
        GridModel *m = m_grid->model();
        std::vector<QVariantList> rows;
        for (int id = 1; id <= 300; ++id)
            rows.push_back({id, id % 3 ? "Blue" : "Red", QDate(2024, 1, 1 + id % 7), QStringLiteral("note %1").arg(id)});
        m->setRows({"Id", "Team", "Date", "Note"}, rows);
        m->setColumnVisible(Id, false);   // more model columns than shown ones
        for (int column : groups)
            m->addGroup(column);
        m->setCurrentRow(1);
        m_grid->focusList();
        HeardEvents heard;
        auto spoken = [m](int row) {
            return m->isGroupRow(row) ? m->groupCaption(row) : m->data(m->index(row - 1, Team - 1)).toString();
        };
        // Empty when the last focus and selection events both named the current row.
        auto mismatch = [&]() -> QString {
            const int current = m->currentRow();
            QString wrong;
            for (QAccessible::Event type : {QAccessible::Focus, QAccessible::SelectionAdd}) {
                const HeardEvents::Heard last = HeardEvents::last(type);
                if (last.row != current - 1 || last.name != spoken(current))
                    wrong += QStringLiteral(" row %1 \"%2\" heard as row %3 \"%4\";")
                                 .arg(current - 1).arg(spoken(current)).arg(last.row).arg(last.name);
            }
            HeardEvents::events().clear();
            return wrong;
        };

        for (int step = 1; step < m->rowCount(); ++step) {
            QTest::keyClick(m_grid->view(), Qt::Key_Down);
            const QString wrong = mismatch();
            QVERIFY2(wrong.isEmpty(), qPrintable(wrong));
        }
        m->setCurrentRow(m->rowCount() / 2);
        HeardEvents::events().clear();
        m->setRows({"Id", "Team", "Date", "Note"}, rows);   // a re-read finds the row again
        const QString wrong = mismatch();
        QVERIFY2(wrong.isEmpty(), qPrintable(QStringLiteral("after a re-read:") + wrong));
        QCOMPARE(HeardEvents::warnings(), QStringList());
    }

private:
    DataGrid *m_grid = nullptr;
};

QTEST_MAIN(tst_DataGrid)
#include "tst_DataGrid.moc"
