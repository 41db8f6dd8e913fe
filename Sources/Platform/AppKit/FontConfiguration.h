#pragma once

/// The fonts every program that draws uses: the repository's fontconfig file (Carlito and DejaVu
/// only, no hinting, no subpixel order), made fontconfig's current configuration once per process,
/// before any text is laid out, so that text looks the same on every machine.
class FontConfiguration {
  public:
    /// Installs the configuration (only the first call does anything). False when it could not
    /// be loaded; text then falls back to the machine's own configuration.
    static bool install();

    /// The file's text, built into the program.
    static const char* text();
};
