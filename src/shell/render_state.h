// Projection and the render state every new context starts from.
#pragma once

namespace kelvorin {

void ResizeView(int width, int height);
bool InitRenderState();

// Frames drawn only to advance the scenes' state to a later clock go into a view 1/16 of the
// size: the scenes' values do not depend on the viewport.
void UseSkimView(int width, int height);

}  // namespace kelvorin
