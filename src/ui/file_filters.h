// The filters of the file dialogs, kept as the program has always written them
// ("Description|pattern|...||") and turned into Qt's notation ("Description (patterns);;...").
// Their descriptions are program texts: translated under "FileFilters" before the conversion.
#pragma once

#include <QString>
#include <QtGlobal>

namespace tolvane {

inline constexpr const char* kLogFilter = QT_TRANSLATE_NOOP(
    "FileFilters", "SONY GPS-CS1K Log File (*.log)|*.log|GPX File (*.gpx)|*.gpx|All (*.*)|*.*||");
inline constexpr const char* kPhotoFilter =
    QT_TRANSLATE_NOOP("FileFilters", "JPEG File (*.jpg)|*.jpg|All (*.*)|*.*||");
inline constexpr const char* kKmlFilter = QT_TRANSLATE_NOOP(
    "FileFilters", "Google Earth KML File (*.kml)|*.kml|KMZ File (*.kmz)|*.kmz|All (*.*)|*.*||");
inline constexpr const char* kHtmlFilter =
    QT_TRANSLATE_NOOP("FileFilters", "HTML File (*.html)|*.html|All (*.*)|*.*||");

// Pairs of description and patterns become Qt filters joined by ";;". Patterns separated by
// ";" become space-separated, and "*.*" (every file) becomes "*", since names without a dot are
// files too here. A description that already ends in its patterns in parentheses has them
// replaced by the converted patterns; any other description gets them appended.
QString qt_filter(const QString& windows_filter);

}  // namespace tolvane
