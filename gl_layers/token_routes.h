// gl_layers/token_routes.h — the extension tokens our desktop layers take from the driver.
//
// Where the vertex-weighting or vertex-array-range layer stands in for a group the driver
// lacks, the scenes' glEnable, glMatrixMode and glEnableClientState calls naming the group's
// tokens must reach the layer, and every other call the driver. The router sits in front of
// those entries of the GL table (platform/gl.h) and hands on what it does not take.
#pragma once

namespace gl_layers {

// Puts the router in front of the table's enable, matrix-mode and client-state entries, unless
// it is there already. Called by each layer when it is installed.
void RouteExtensionTokens();

}  // namespace gl_layers
