// The program's icon: a track with its start and end over a map tile, drawn at every size the
// window needs.
#pragma once

#include <QIcon>
#include <QPixmap>

namespace tolvane {

QPixmap draw_app_icon(int size);
QIcon app_icon();

}  // namespace tolvane
