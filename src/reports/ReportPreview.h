#pragma once

#include <QPrintPreviewDialog>

class QAction;
class QPrintPreviewWidget;
class QToolBar;

// The report's print preview, shown as a panel of the report window rather than
// a window of its own: Qt's preview with its zoom and page commands. Close, Page
// setup, Print and Save as PDF are actions that the window shows as buttons, so
// they stay in reach of the keyboard and never hide behind the toolbar's end.
// Closing, Esc and the end of a print no longer hide the preview.
class ReportPreview final : public QPrintPreviewDialog
{
    Q_OBJECT

public:
    ReportPreview(QPrinter *printer, QWidget *parent);

    QToolBar *toolBar() const { return m_toolBar; }
    QAction *closeAction() const { return m_closeAction; }
    QAction *pageSetupAction() const { return m_pageSetupAction; }
    QAction *printAction() const { return m_printAction; }
    QAction *savePdfAction() const { return m_savePdfAction; }

    // Paints the pages again (after Apply); the current page stays where it can.
    void updatePages();
    int pageCount() const;

    QSize minimumSizeHint() const override;
    void done(int result) override;

signals:
    void closeRequested();
    void savePdfRequested();

private:
    QPrintPreviewWidget *m_pages = nullptr;
    QToolBar *m_toolBar = nullptr;
    QAction *m_closeAction = nullptr;
    QAction *m_pageSetupAction = nullptr;
    QAction *m_printAction = nullptr;
    QAction *m_savePdfAction = nullptr;
};
