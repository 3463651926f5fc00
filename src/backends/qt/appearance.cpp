// SPDX-License-Identifier: MIT
#include "backends/qt/appearance.h"

#include <QApplication>
#include <QFont>
#include <QStyleFactory>

namespace pelmora {

void ApplyAppearance(QApplication& app) {
    app.setStyle(QStyleFactory::create("Fusion"));
    QFont font;
    font.setFamilies({"SimSun", "WenQuanYi Micro Hei", "Noto Sans CJK SC"});
    font.setPixelSize(12);
    app.setFont(font);
}

}  // namespace pelmora
