// The OpenGL 1.1 layer over OpenGL ES 3 / WebGL 2: the demo's immediate-mode drawing, matrix
// stacks, lighting and GLU sphere, done by our own code and drawn with one shader program.
// Code that includes <GL/gl.h> and <GL/glu.h> in a GLES build gets the headers in
// src/gles/include, which map each call to this layer.
//
// Drawing is queued for the whole frame and reaches GLES at glClear, glFlush, glFinish and
// glReadPixels; a backend that presents a frame calls glFlush first.
#pragma once

namespace kelvorin {

// Call once a GLES 3 / WebGL 2 context is current: builds the program and buffers and puts
// every state at OpenGL 1.1's initial values. False (with a line on standard error) on failure.
bool GlesCreate();

// Call before the context is released: frees what the layer created, textures included. A
// later GlesCreate starts from scratch, as a new OpenGL context would.
void GlesDestroy();

// While set, every state call takes effect as usual but nothing is drawn: vertices are dropped
// as they come and glClear does nothing. Frames drawn only to move the demo's state forward (to
// seek) then cost no drawing at all. What was queued before it is set is drawn first.
void GlesSkipDrawing(bool skip);

}  // namespace kelvorin
