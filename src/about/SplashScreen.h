#pragma once

#include <QWidget>

// Shown while the main window is built, so the start is visibly under way.
class SplashScreen final : public QWidget
{
    Q_OBJECT
public:
    explicit SplashScreen(QWidget *parent = nullptr);
};
