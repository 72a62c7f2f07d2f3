// What the platform's UIKit reaches behind a context.
#include "Context.h"

cairo_t* CGCairoContextGetCairo(CGContextRef c) { return c ? c->cr : nullptr; }
cairo_surface_t* CGCairoContextGetSurface(CGContextRef c) { return c ? c->surface : nullptr; }

void CGCairoContextBeginDirectDrawing(CGContextRef c) {
    if (c) c->willUseCairo();
}

void CGCairoContextEndDirectDrawing(CGContextRef c) {
    if (!c) return;
    c->cairoTouched = true;
    c->didDrawEverywhere();
}

size_t CGCairoContextDirectFillCount(CGContextRef c) { return c ? c->directFills : 0; }
