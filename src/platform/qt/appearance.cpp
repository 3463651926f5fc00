#include "platform/qt/appearance.h"

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
    app.setStyleSheet("QGroupBox { border: 1px solid #b4b4b4; border-radius: 2px; margin-top: 6px; }"
                      "QGroupBox::title { subcontrol-origin: margin; left: 6px; padding: 0 2px; }");
}

}  // namespace pelmora
