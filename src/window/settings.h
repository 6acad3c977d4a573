#pragma once

#include <QSettings>

namespace vs {

// The program's own settings, wherever the platform keeps them.
QSettings settings();

}  // namespace vs
