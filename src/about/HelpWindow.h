#pragma once

#include <QWidget>

class QTextBrowser;

// The help page shown by the program itself, for desktops that have no browser
// to hand it to.
class HelpWindow final : public QWidget
{
    Q_OBJECT

public:
    explicit HelpWindow(QWidget *parent = nullptr);

    void showPage(const QString &file);
    QTextBrowser *browser() const { return m_browser; }

private:
    QTextBrowser *m_browser = nullptr;
};
