#pragma once

#include <QDialog>

// The about box: the program's title and version from the build, and the maker's
// web and support addresses, which open through the desktop.
class AboutDialog final : public QDialog
{
    Q_OBJECT

public:
    static inline const QString WebAddress = QStringLiteral("https://www.kestrum.it/orvel2");
    static inline const QString SupportAddress = QStringLiteral("mailto:support@kestrum.it");

    explicit AboutDialog(QWidget *parent = nullptr);
};
