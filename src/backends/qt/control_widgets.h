// SPDX-License-Identifier: MIT
// One Qt widget per headless control: creation by kind, and the mirror of a control's
// state onto its widget. Widgets never hold state of their own; a list or a combo box
// keeps the lines it shows only to know what changed since the last sync.
#pragma once

#include <QColor>
#include <QComboBox>
#include <QCursor>
#include <QFrame>
#include <QImage>
#include <QListWidget>
#include <QScrollBar>

#include <string>
#include <vector>

#include "platform/controls.h"
#include "platform/slider_geometry.h"

class QWidget;

namespace pelmora {

// 0x00BBGGRR to a Qt colour.
QColor ToQColor(std::int32_t colour);

// Converts part of surface (in its own pixels, inside it) row by row. With transparent,
// pixels of -1 get alpha 0; otherwise every pixel is opaque.
QImage ConvertPart(const Surface& surface, const QRect& part, bool transparent);

// An image as a picture: every pixel opaque (alpha dropped), 0x00BBGGRR.
Surface ToSurface(const QImage& image);

// A pointer image as a cursor: its pixels of -1 transparent, its hot spot.
QCursor ToQCursor(const PointerImage& pointer);
// A platform pointer shape as Qt's cursor shape (Default gives the arrow).
Qt::CursorShape ToCursorShape(MousePointer pointer);

// Paints a PictureBox from the control itself, only the part being repainted: the
// background, then the picture centred in the area inside the border (pixels of -1
// transparent), then the persistent image at the top-left of that area. A sync asks Qt
// to repaint only what changed in the image, so a dab on a large image converts a few
// pixels, not the image.
class PictureWidget : public QFrame {
public:
    explicit PictureWidget(QWidget* parent) : QFrame(parent) {}
    // Shows picture, with its border, from now on; repaints only what changed since the last call.
    void Show(const PictureBox& picture);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    const PictureBox* picture_ = nullptr;
};

// A Shape: its rectangle filled, or only its outline with whatever lies under it showing
// inside.
class ShapeWidget : public QWidget {
public:
    explicit ShapeWidget(QWidget* parent);
    // Shows shape from now on, repainted whole.
    void Show(const Shape& shape);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    const Shape* shape_ = nullptr;
};

// A list box. Rebuilds its rows only when the control's lines changed (appending when
// lines were only added), so a change of the selection alone touches no row.
class ListWidget : public QListWidget {
public:
    explicit ListWidget(QWidget* parent);
    // The control's lines and selection.
    void Show(const ListBox& list);

private:
    std::vector<std::string> shownItems_;
};

// A drop-down list the user can only choose from. Rebuilds its lines as a list box does.
class ComboWidget : public QComboBox {
public:
    explicit ComboWidget(QWidget* parent);
    // The control's lines and selection.
    void Show(const ComboBox& combo);

private:
    std::vector<std::string> shownItems_;
};

// A scroll bar whose arrow keys move the thumb the way they point. Qt's own bar reads every
// key through its inverted controls, which keep Page Up and the wheel going up but send the
// Left key of a horizontal bar to the right.
class ScrollBarWidget : public QScrollBar {
public:
    ScrollBarWidget(Qt::Orientation orientation, QWidget* parent) : QScrollBar(orientation, parent) {}

protected:
    void keyPressEvent(QKeyEvent* event) override;
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

// A multi-line field's text as the control holds it ("\r\n" line ends) and as the
// widget shows it (one paragraph per line).
QString ToShownLines(const std::string& text);
std::string FromShownLines(const QString& text);

// A widget of the right class for control, with the control's object name. The caller
// connects its user signals; Timer controls have no widget (nullptr).
QWidget* CreateControlWidget(Control& control, QWidget* parent);

// Mirrors every property of control onto widget.
void SyncControlWidget(const Control& control, QWidget& widget);

// Mirrors the accessible description (the control's name with its index, the id desktop
// test tools find it by) and the accessible name (what a person reads: the caption, or
// the caption of the label beside it).
void SyncAccessibility(const Control& control, QWidget& widget);

}  // namespace pelmora
