// opengl.h: the few OpenGL, GtkGLExt and GtkGLArea functions the toolkit binds, declared here so
// that building needs none of their development headers (the libraries are optional at run time).
#pragma once
#include <gtk/gtk.h>

extern "C" {
// OpenGL 1.x
void glBegin(unsigned mode);
void glClear(unsigned mask);
void glClearColor(float red, float green, float blue, float alpha);
void glColor3ub(unsigned char red, unsigned char green, unsigned char blue);
void glBitmap(int width, int height, float xorig, float yorig, float xmove, float ymove,
              const unsigned char* bitmap);
void glEnd(void);
void glLoadIdentity(void);
void glMatrixMode(unsigned mode);
void glOrtho(double left, double right, double bottom, double top, double near_val, double far_val);
void glRasterPos2i(int x, int y);
void glTranslatef(float x, float y, float z);
void glVertex2i(int x, int y);
void glReadPixels(int x, int y, int width, int height, unsigned format, unsigned type, void* pixels);

// GtkGLExt 1.x
typedef struct _GdkGLConfig GdkGLConfig;
typedef struct _GdkGLContext GdkGLContext;
typedef struct _GdkGLWindow GdkGLWindow;
typedef struct _GdkGLDrawable GdkGLDrawable;
gboolean gtk_gl_init_check(int* argc, char*** argv);
void gtk_gl_init(int* argc, char*** argv);
gboolean gtk_widget_set_gl_capability(GtkWidget* widget, GdkGLConfig* glconfig, GdkGLContext* share_list,
                                      gboolean direct, int render_type);
GdkGLContext* gtk_widget_get_gl_context(GtkWidget* widget);
GdkGLWindow* gtk_widget_get_gl_window(GtkWidget* widget);
GdkGLConfig* gdk_gl_config_new_by_mode(int mode);
gboolean gdk_gl_drawable_gl_begin(GdkGLDrawable* gldrawable, GdkGLContext* glcontext);
void gdk_gl_drawable_gl_end(GdkGLDrawable* gldrawable);
void gdk_gl_drawable_swap_buffers(GdkGLDrawable* gldrawable);

// GtkGLArea for GTK 2
typedef struct _GtkGLArea GtkGLArea;
GType gtk_gl_area_get_type(void);
GtkWidget* gtk_gl_area_new(int* attrlist);
gint gtk_gl_area_make_current(GtkGLArea* glarea);
void gtk_gl_area_swap_buffers(GtkGLArea* glarea);
}
