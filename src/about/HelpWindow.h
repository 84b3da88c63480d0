#pragma once

#include <QDialog>

class QTextBrowser;

// The help page shown by the program itself, for desktops that have no browser
// to hand it to: a window of its own beside the main window, not modal, that
// closes with Esc, Ctrl+W and the desktop's close key.
class HelpWindow final : public QDialog
{
    Q_OBJECT

public:
    explicit HelpWindow(QWidget *parent = nullptr);

    void showPage(const QString &file);
    QTextBrowser *browser() const { return m_browser; }

private:
    QTextBrowser *m_browser = nullptr;
};
