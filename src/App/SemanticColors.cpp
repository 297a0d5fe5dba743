#include "App/SemanticColors.h"

namespace SemanticColors {
namespace {

QColor withAlpha(QColor color, double alpha) {
    color.setAlphaF(static_cast<float>(alpha));
    return color;
}

} // namespace

bool isDark(const QPalette& palette) {
    return palette.color(QPalette::Window).lightness() < palette.color(QPalette::WindowText).lightness();
}

QColor primaryLabel(const QPalette& palette) {
    return palette.color(QPalette::WindowText);
}

QColor secondaryLabel(const QPalette& palette) {
    return withAlpha(palette.color(QPalette::WindowText), isDark(palette) ? 0.58 : 0.52);
}

QColor quaternaryLabel(const QPalette& palette) {
    return withAlpha(palette.color(QPalette::WindowText), isDark(palette) ? 0.14 : 0.10);
}

QColor separator(const QPalette& palette) {
    return withAlpha(palette.color(QPalette::WindowText), isDark(palette) ? 0.28 : 0.22);
}

QColor controlBackground(const QPalette& palette) {
    // Dark themes often make Base darker than the window, which would sink the key caps
    // into it; lift them above the window instead, as light themes do with a white Base.
    if (isDark(palette)) return palette.color(QPalette::Window).lighter(135);
    return palette.color(QPalette::Base);
}

QColor windowBackground(const QPalette& palette) {
    return palette.color(QPalette::Window);
}

QColor accent(const QPalette& palette) {
    const QColor highlight = palette.color(QPalette::Highlight);
    // Some themes highlight in grey; the accent must still stand out from the text.
    if (highlight.hsvSaturation() < 40)
        return isDark(palette) ? QColor(0x0a, 0x84, 0xff) : QColor(0x00, 0x7a, 0xff);
    return highlight;
}

QColor destructive(const QPalette& palette) {
    return isDark(palette) ? QColor(0xff, 0x45, 0x3a) : QColor(0xd7, 0x00, 0x15);
}

} // namespace SemanticColors
