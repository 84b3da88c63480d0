#pragma once

#include "platform/grid/GridModel.h"

#include <QColor>
#include <QHash>
#include <QIcon>
#include <QString>
#include <QWidget>

class QLabel;
class GridView;
class GridDelegate;

// Look of a named row style.
struct GridRowStyle
{
    QColor background;     // invalid: the palette's base colour
    QColor foreground;     // invalid: the palette's text colour
    bool bold = false;
};

// The list widget of every window: a read-only view over a GridModel with group
// rows, cell pictures, named row styles, clickable sort headers and a record
// navigator label. The model keeps all state; this widget only shows it and turns
// mouse and keys into model calls and events for the window.
class DataGrid : public QWidget
{
    Q_OBJECT

public:
    explicit DataGrid(QWidget *parent = nullptr);
    ~DataGrid() override;

    GridModel *model() const { return m_model; }
    GridView *view() const { return m_view; }

    // Shortcuts to the model for the calls every window makes.
    void setPresenter(GridPresenter *presenter) { m_model->setPresenter(presenter); }
    int rowCount() const { return m_model->rowCount(); }
    int currentRow() const { return m_model->currentRow(); }
    void setCurrentRow(int row) { m_model->setCurrentRow(row); }
    bool isGroupRow(int row) const { return m_model->isGroupRow(row); }
    QVariant value(int row, int column) const { return m_model->value(row, column); }

    // Pictures by number (the numbers the presenter returns), drawn at 16 px.
    void setImage(int index, const QIcon &icon);
    void setImages(const QHash<int, QIcon> &images);
    QIcon image(int index) const { return m_images.value(index); }

    // Named row styles: "Default", "OddRow", "EvenRow", "RowGroup", "PreviewRow",
    // "SelectedRow" and "Expired" exist from the start, in the palette's colours;
    // windows may add or change any. Painted text always keeps a readable contrast.
    void setRowStyle(const QString &name, const GridRowStyle &style);
    GridRowStyle rowStyle(const QString &name) const;
    bool hasRowStyle(const QString &name) const;

    void setNavigatorTemplate(const QString &text) { m_model->setNavigatorTemplate(text); }
    void setNavigatorVisible(bool visible);
    bool isNavigatorVisible() const;
    QString navigatorText() const;

    // Window-level operations that scroll or focus.
    void scrollToCurrent();
    void focusList();
    // Tells a screen reader the current row's cells now read differently (after a
    // command changed the row in place); the focused one is read again.
    void announceCurrentRow();

signals:
    void doubleClicked(int row);    // 0 when no row is under the mouse
    // Before the grid handles a key; set *consumed to true to stop it. Key codes
    // and modifiers are Qt's. Connect directly (the default on one thread).
    void keyDown(int key, Qt::KeyboardModifiers modifiers, bool *consumed);
    void currentRowChanged(int row);
    void gotFocus();
    void lostFocus();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;

private:
    friend class GridView;
    friend class GridDelegate;

    void applyColumns();
    void updateNavigator();
    void syncCurrentFromModel(int row);
    void applySortIndicator();
    // The look of listed row `row` (0-based) under its named style, alternating
    // rows and the selection folded in.
    GridRowStyle builtInStyle(const QString &name) const;
    GridRowStyle effectiveStyle(const QString &name, int row, bool selected, bool group) const;

    GridModel *m_model;
    GridView *m_view;
    GridDelegate *m_delegate;
    QLabel *m_navigator;
    QHash<int, QIcon> m_images;
    QHash<QString, GridRowStyle> m_styles;
    bool m_applyingColumns = false;
    bool m_syncing = false;
};
