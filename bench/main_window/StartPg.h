#pragma once

class QString;
class QTextStream;

// case=start_pg: the list's read of the active sheet from a register on the
// PostgreSQL server named by ORVEL_TEST_REGISTER (scripts/pg-cluster run), filled
// with `rows` sample deadlines, against the floor of the same run: the same
// rows read through libpq as text. Without the variable the case says it is
// skipped. The server register is emptied and filled anew.
void runStartPg(QTextStream &out, const QString &templatePath, int rows);
