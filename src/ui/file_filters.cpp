#include "ui/file_filters.h"

#include <QStringList>

namespace tolvane {

namespace {

QString qt_patterns(const QString& patterns) {
  QStringList converted;
  for (QString pattern : patterns.split(QLatin1Char(';'), Qt::SkipEmptyParts)) {
    pattern = pattern.trimmed();
    if (pattern == QLatin1String("*.*")) pattern = QStringLiteral("*");
    if (!pattern.isEmpty()) converted << pattern;
  }
  return converted.join(QLatin1Char(' '));
}

}  // namespace

QString qt_filter(const QString& windows_filter) {
  const QStringList parts = windows_filter.split(QLatin1Char('|'));
  QStringList filters;
  for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
    QString description = parts[i];
    const QString& patterns = parts[i + 1];
    if (description.isEmpty() && patterns.isEmpty()) break;  // the closing "||"
    const QString shown = QLatin1Char('(') + patterns + QLatin1Char(')');
    if (description.endsWith(shown)) {
      description.chop(shown.size());
      description = description.trimmed();
    }
    filters << description + QStringLiteral(" (") + qt_patterns(patterns) + QLatin1Char(')');
  }
  return filters.join(QStringLiteral(";;"));
}

}  // namespace tolvane
