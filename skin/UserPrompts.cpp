#include "skin/UserPrompts.h"

#include <QStringList>

QString QtFileFilter(const QString& filter) {
    const QStringList parts = filter.split(u'|', Qt::SkipEmptyParts);
    QStringList filters;
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
        const QString& description = parts[i];
        QString patterns = parts[i + 1];
        patterns.replace(u';', u' ');
        if (patterns == QStringLiteral("*.*")) {
            patterns = QStringLiteral("*");
        }
        // Qt takes the patterns from the last parentheses of the entry.
        QString name = description;
        const qsizetype open = name.lastIndexOf(u'(');
        if (open > 0 && name.endsWith(u')')) {
            name = name.left(open).trimmed();
        }
        filters << QStringLiteral("%1 (%2)").arg(name, patterns);
    }
    return filters.join(QStringLiteral(";;"));
}
