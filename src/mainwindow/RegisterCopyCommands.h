#pragma once

class QMenu;
class QWidget;
class Session;

// File > "Copy register to a server…" on a file register and "Copy register to a
// file…" on a server register: each entry shows only where it applies.
void addRegisterCopyCommands(QMenu *file, Session &session, QWidget *parent);
