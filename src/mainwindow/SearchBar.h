#pragma once

#include <QWidget>

#include <functional>

class DataGrid;
class GridRow;
class QAction;
class QFrame;
class QLineEdit;

// The search bar over the list: the box searches the deadlines as the user types,
// its two buttons find the next and the previous match.
class SearchBar final : public QWidget
{
    Q_OBJECT

public:
    explicit SearchBar(QWidget *parent = nullptr);
    ~SearchBar() override;

    // The bar is built before the list it searches, so the box comes first on Tab.
    void searchIn(DataGrid *list) { m_list = list; }

    QString text() const;
    // The box takes the focus, which starts a new search.
    void focusBox(Qt::FocusReason reason);
    // Leaves the search: the box is emptied and the finds wait for a new search.
    void reset();
    void setSearchMode(bool active);

    // Incremental search over the rows' search text.
    void searchIncrementally(const QString &text, int minLength);
    void findNext(const QString &text, int minLength);
    void findPrevious(const QString &text, int minLength);
    // Whether a row's search text holds text, ignoring case.
    static std::function<bool(const GridRow &)> searchMatches(const QString &text);

signals:
    // Find next and Find previous can run (after a search) or not (out of the search).
    void findEnabledChanged(bool enabled);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void enableFinds(bool enabled);

    DataGrid *m_list = nullptr;
    QFrame *m_frame = nullptr;
    QLineEdit *m_box = nullptr;
    QAction *m_findNextButton = nullptr;
    QAction *m_findPreviousButton = nullptr;
};
