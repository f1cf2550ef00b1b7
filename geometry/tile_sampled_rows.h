// The rows of the picture under the tile mesh that a frame's tiles can carry into view. The
// exploding greets move rows of their finished picture anywhere on screen, so only a tile that
// lands on the rows the window shows makes its own band of picture rows worth drawing; the
// scene and the passes before the tiles draw just the rows of those bands.
// Owns: that bound, from the vertex array the mesh rebuilt for the frame and the frame's MVP.
// Does NOT touch GL.
#pragma once

#include "geometry/mat4.h"
#include "geometry/tile_mesh.h"
#include "render/letterbox_rows.h"

// The picture rows (of a target `height` tall, bilinear neighbours included) that the tiles of
// `mesh`, rebuilt for this frame and drawn with `mvp`, sample where they cover the target rows
// `shown`; count 0 when no tile does.
RowSpan tileSampledRows(const TileMesh& mesh, const Mat4& mvp, RowSpan shown, int height);
