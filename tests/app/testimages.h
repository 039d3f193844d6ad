#pragma once

#include <QString>

// Writes a width x height picture with edges and colour (a gradient with a
// bright square) to `path`; the format follows the extension. Returns the path.
QString writeTestImage(const QString& path, int width, int height);
