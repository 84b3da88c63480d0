#pragma once

#include <QWidget>

// Shown while the main window is built, so the start is visibly under way.
class frmSplash final : public QWidget
{
    Q_OBJECT
public:
    explicit frmSplash(QWidget *parent = nullptr);
};
