#include "Platform/AppKit/TextTypesetter.h"

#include <cairo.h>
#include <fontconfig/fontconfig.h>
#include <pango/pangocairo.h>
#include <pango/pangofc-fontmap.h>

#include <memory>

#include "Platform/AppKit/FontConfiguration.h"

namespace {

PangoFontMap* fontMap() {
    // The process's one font map, made after the fonts are installed and kept to the end.
    static PangoFontMap* map = [] {
        FontConfiguration::install();
        PangoFontMap* made = pango_cairo_font_map_new_for_font_type(CAIRO_FONT_TYPE_FT);
        pango_fc_font_map_set_config(PANGO_FC_FONT_MAP(made), FcConfigGetCurrent());
        return made;
    }();
    return map;
}

struct ContextRelease {
    void operator()(PangoContext* context) const { g_object_unref(context); }
};

PangoContext* makeContext() {
    PangoContext* context = pango_font_map_create_context(fontMap());
    cairo_font_options_t* options = cairo_font_options_create();
    cairo_font_options_set_hint_style(options, CAIRO_HINT_STYLE_NONE);
    cairo_font_options_set_hint_metrics(options, CAIRO_HINT_METRICS_OFF);
    cairo_font_options_set_antialias(options, CAIRO_ANTIALIAS_GRAY);
    cairo_font_options_set_subpixel_order(options, CAIRO_SUBPIXEL_ORDER_DEFAULT);
    pango_cairo_context_set_font_options(context, options);
    cairo_font_options_destroy(options);
    pango_cairo_context_set_resolution(context, 72);
    pango_context_set_round_glyph_positions(context, FALSE);
    return context;
}

}  // namespace

PangoContext* TextTypesetter::context() {
    thread_local std::unique_ptr<PangoContext, ContextRelease> context(makeContext());
    return context.get();
}
