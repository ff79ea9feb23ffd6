#pragma once

#include "FinanceProjectOption.h"

#include <QList>
#include <QString>

// The hub's rows: the projects tree (roots by name, each followed by its iterations by version,
// then iterations whose root is not listed) flattened, iterations indented under their root.
namespace FinanceProjectOptionsBuilder {

QList<FinanceProjectOption> build(const QList<Project> &projects);

// The search text trimmed of spaces and tabs (line ends kept) and lowercased.
QString normalizedQuery(const QString &searchText);

// The options whose lowercased title or subtitle contains the query; all of them for an empty
// query. Each row matches by itself, an iteration without its root too.
QList<FinanceProjectOption> filtered(const QList<FinanceProjectOption> &options, const QString &searchText);

} // namespace FinanceProjectOptionsBuilder
