// glarea_canvas_test.cpp: the OpenGL canvas through GtkGLArea, with Mesa's software OpenGL.
#define GL_CANVAS_OPTION "CANVAS GLAREA"
#define GL_LIBRARY "GLAREA"
#include "tests/wex/gl_canvas_cases.h"
