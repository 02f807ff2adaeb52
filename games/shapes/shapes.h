// shapes.h: filled shapes given by centre and half-sizes, shared by kelvado and plimsy.
#pragma once

void ELLIPSE(const char* color, int cx, int cy, int rx, int ry, int fill);
void BOX(const char* color, int cx, int cy, int hx, int hy, int fill);
