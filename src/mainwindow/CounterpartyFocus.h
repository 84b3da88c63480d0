#pragma once

#include <QString>

class ListPanel;

// Shows one client's open credits (type 1) or one supplier's open debits (-1) in
// the list: the view of those, narrowed to that client/supplier, its first
// deadline current. name is the client's or supplier's name, empty for the
// deadlines without one. False when nothing of it is open any more.
bool showCounterpartyInList(ListPanel &panel, int type, const QString &name);
