#include "plot/qt/qtfonts.h"

QFont SansSerif11() {
    QFont font(QStringLiteral("Liberation Sans"));
    font.setStyleHint(QFont::SansSerif);
    font.setPixelSize(11);
    font.setWeight(QFont::Normal);
    font.setItalic(false);
    font.setHintingPreference(QFont::PreferNoHinting);
    return font;
}
