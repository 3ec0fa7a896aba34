#pragma once

#include <Qt>

/// Sets the application-wide pointer shape; Qt::ArrowCursor returns to each window's own
/// cursor. Only one shape is ever in force, so no restore calls pile up.
void SetAppCursor(Qt::CursorShape shape);
/// The application-wide pointer shape in force, Qt::ArrowCursor when none is.
Qt::CursorShape AppCursor();
