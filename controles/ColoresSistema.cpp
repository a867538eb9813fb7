#include "controles/ColoresSistema.h"

#include <QApplication>

namespace {

struct CRolSistema {
    int intIndice;
    QPalette::ColorGroup grupo;
    QPalette::ColorRole rol;
};

// The system colours a window may name, mapped onto the palette roles that play their part.
constexpr CRolSistema g_Roles[] = {
    {5, QPalette::Active, QPalette::Base},             // window background
    {8, QPalette::Active, QPalette::WindowText},       // window text
    {13, QPalette::Active, QPalette::Highlight},       // selected item
    {14, QPalette::Active, QPalette::HighlightedText}, // selected item text
    {15, QPalette::Active, QPalette::Button},          // button face
    {16, QPalette::Active, QPalette::Dark},            // button shadow
    {17, QPalette::Disabled, QPalette::WindowText},    // grey text
    {18, QPalette::Active, QPalette::ButtonText},      // button text
    {20, QPalette::Active, QPalette::Light},           // button highlight
};

} // namespace

QColor ColorSistema(quint32 lngColor, const QPalette& objPaleta) {
    if (lngColor & 0x80000000u) {
        const int intIndice = static_cast<int>(lngColor & 0xFFu);
        for (const auto& r : g_Roles)
            if (r.intIndice == intIndice)
                return objPaleta.color(r.grupo, r.rol);
        return objPaleta.color(QPalette::Active, QPalette::WindowText);
    }
    return QColor(static_cast<int>(lngColor & 0xFFu), static_cast<int>((lngColor >> 8) & 0xFFu),
                  static_cast<int>((lngColor >> 16) & 0xFFu));
}

QColor ColorSistema(quint32 lngColor) {
    return ColorSistema(lngColor, QApplication::palette());
}
