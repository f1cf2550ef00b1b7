// The rows of the render targets that can reach the window. The composite of every letterboxed
// part covers the bottom and the top tenth of the window with its bars, so the window shows only
// the rows under the band between them; a pass before the composite need only draw that band,
// widened by how far the passes after it read up and down. Skipped rows have zero weight in the
// window's picture, so it stays exactly what a full draw gives.
// Owns: the band arithmetic and each post pass's vertical reach in rows. Does NOT touch GL (the
// pass chain scissors with the span) and does NOT apply to a picture moved before the composite
// (the exploding greets tiles carry rows from anywhere into view; geometry/tile_sampled_rows
// bounds the rows they carry).
#pragma once

struct RowSpan {
  int first = 0;  // lowest row drawn
  int count = 0;  // rows drawn from `first` up
};

// The rows a pass must draw so that the rows `read` of its target come out right when the passes
// after it read `reachRows` above and below: `read` widened by that and by a row of rounding,
// clipped to a target `height` tall. An empty span stays empty.
RowSpan widenedRows(RowSpan read, int reachRows, int height);

// The rows of a target `height` tall that the band between the letterbox bars samples.
RowSpan letterboxBand(int height);

// letterboxBand widened by `reachRows` on each side (widenedRows).
RowSpan letterboxedRows(int height, int reachRows);

// How far a pass reads above or below its own row, in rows of a target `height` tall, the
// bilinear neighbour included. Radial blur and light shafts read only toward a point inside the
// band, and the other passes along their own row, so they reach no rows.
int spiralDofReachRows(int height);              // qdof at the largest blur amount, alpha 1
int bokehReachRows(int height, float radius);    // bokeh's 150-tap spiral of `radius`
int fxaaReachRows();                             // the blend along an edge, up to 8 texels long
int tentacleFocusReachRows();                    // the 13 x 13 Gaussian's texel fetches
int pixelateReachRows(int height, float pixelValue);  // a cell reads its lower-left corner
