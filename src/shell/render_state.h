// Projection and the render state every new context starts from.
#pragma once

namespace kelvorin {

void ResizeView(int width, int height);
bool InitRenderState();

}  // namespace kelvorin
