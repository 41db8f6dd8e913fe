#pragma once

typedef struct _PangoContext PangoContext;

/// Pango as the text system uses it: one font map for the process over the repository's fonts,
/// and a context per thread set up so that text measures and draws the same everywhere (no
/// hinting, fractional glyph positions, 72 dots an inch so that sizes are in points).
class TextTypesetter {
  public:
    static PangoContext* context();
};
