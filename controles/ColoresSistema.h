// Colours as the windows give them: 32-bit values where the high bit names a system colour by
// its index in the low byte, otherwise 0x00BBGGRR. Free functions; nothing is owned.
#pragma once

#include <QColor>
#include <QPalette>

namespace Color {
constexpr quint32 TextoVentana = 0x80000008; // system colour 8, window text
constexpr quint32 TextoGris = 0x80000011;    // system colour 17, grey (disabled) text
constexpr quint32 VerdeOscuro = 0x00008000;
} // namespace Color

// The colour on screen for lngColor, system colours taken from the palette (the application's
// when none is given). An unknown system index falls back to the window text.
QColor ColorSistema(quint32 lngColor, const QPalette& objPaleta);
QColor ColorSistema(quint32 lngColor);
