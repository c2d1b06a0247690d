#include "window/paperpalette.h"

namespace isd {

namespace {

// Dark schemes draw light text on a darker face.
bool isDark(const QPalette &p, QPalette::ColorRole face, QPalette::ColorRole text)
{
    return p.color(text).lightness() > p.color(face).lightness();
}

} // namespace

QPalette paperPalette(const QPalette &scheme)
{
    if (isDark(scheme, QPalette::Window, QPalette::WindowText)
        || isDark(scheme, QPalette::Button, QPalette::ButtonText)) {
        // Not the style's standard palette: styles derive it from the
        // desktop's scheme. Qt makes every role from the light face, with
        // black text on it.
        return QPalette(QColor(239, 239, 239));
    }
    return QPalette();
}

} // namespace isd
