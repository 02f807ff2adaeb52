// glext_canvas_test.cpp: the OpenGL canvas through GtkGLExt, with Mesa's software OpenGL.
#define GL_CANVAS_OPTION "CANVAS GLEXT"
#define GL_LIBRARY "GLEXT"
#include "tests/wex/gl_canvas_cases.h"
