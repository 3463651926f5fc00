// One Qt widget per headless control: creation by kind, and the mirror of a control's
// state onto its widget. Widgets never hold state of their own.
#pragma once

#include <QColor>
#include <QFrame>
#include <QImage>

#include "platform/controls.h"

class QWidget;

namespace pelmora {

// 0x00BBGGRR to a Qt colour.
QColor ToQColor(std::int32_t colour);

// Paints a PictureBox: its background, then its persistent image at the top-left of
// the area inside the border.
class PictureWidget : public QFrame {
public:
    explicit PictureWidget(QWidget* parent) : QFrame(parent) {}
    void Show(const PictureBox& picture);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QImage image_;
    QColor background_;
};

// A frame: an etched box filling its area, with the caption on its top line. Opaque, so a
// page hides whatever lies under it.
class FrameWidget : public QWidget {
public:
    explicit FrameWidget(QWidget* parent) : QWidget(parent) { setAutoFillBackground(true); }
    void SetCaption(const QString& caption) {
        caption_ = caption;
        update();
    }
    const QString& Caption() const { return caption_; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QString caption_;
};

// A widget of the right class for control, with the control's object name. The caller
// connects its user signals; Timer controls have no widget (nullptr).
QWidget* CreateControlWidget(Control& control, QWidget* parent);

// Mirrors every property of control onto widget.
void SyncControlWidget(const Control& control, QWidget& widget);

}  // namespace pelmora
