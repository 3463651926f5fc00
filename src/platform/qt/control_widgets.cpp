#include "platform/qt/control_widgets.h"

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPainter>
#include <QPushButton>
#include <QRadioButton>

namespace pelmora {

QColor ToQColor(std::int32_t colour) { return QColor(colour & 0xFF, (colour >> 8) & 0xFF, (colour >> 16) & 0xFF); }

namespace {

QString Text(const std::string& text) { return QString::fromStdString(text); }

void SetPaletteColour(QWidget& widget, QPalette::ColorRole role, std::int32_t colour) {
    QPalette palette = widget.palette();
    palette.setColor(role, ToQColor(colour));
    widget.setPalette(palette);
}

void SyncLabel(const Label& label, QLabel& widget) {
    widget.setText(Text(label.Caption()));
    widget.setFrameStyle(label.Border() ? (QFrame::Box | QFrame::Plain) : QFrame::NoFrame);
    widget.setAlignment(label.TextAlignment() == Alignment::Centre ? Qt::AlignCenter : (Qt::AlignLeft | Qt::AlignVCenter));
    widget.setAutoFillBackground(label.BackColor() >= 0);
    if (label.BackColor() >= 0) SetPaletteColour(widget, QPalette::Window, label.BackColor());
    SetPaletteColour(widget, QPalette::WindowText, label.ForeColor());
    if (label.AutoSize()) {
        const int textWidth = widget.fontMetrics().horizontalAdvance(widget.text()) + 2 * widget.frameWidth() + 2;
        widget.resize(std::max(label.Geometry().width, textWidth), label.Geometry().height);
    }
}

void SyncTextBox(const TextBox& box, QLineEdit& widget) {
    const QString text = Text(box.Text());
    if (widget.text() != text) widget.setText(text);
    widget.setReadOnly(box.Locked());
    widget.setMaxLength(box.MaxLength() > 0 ? box.MaxLength() : 32767);
    SetPaletteColour(widget, QPalette::Base, box.BackColor());
    SetPaletteColour(widget, QPalette::Text, box.ForeColor());
}

}  // namespace

void PictureWidget::Show(const PictureBox& picture) {
    setFrameStyle(picture.Border() ? (QFrame::Panel | QFrame::Sunken) : QFrame::NoFrame);
    background_ = picture.BackColor() >= 0 ? ToQColor(picture.BackColor()) : palette().color(QPalette::Window);
    const Surface& surface = picture.Image();
    if (image_.width() != surface.Width() || image_.height() != surface.Height())
        image_ = QImage(surface.Width(), surface.Height(), QImage::Format_RGB32);
    for (int y = 0; y < surface.Height(); ++y) {
        const std::int32_t* source = surface.Row(y);
        auto* target = reinterpret_cast<QRgb*>(image_.scanLine(y));
        for (int x = 0; x < surface.Width(); ++x)
            target[x] = qRgb(source[x] & 0xFF, (source[x] >> 8) & 0xFF, (source[x] >> 16) & 0xFF);
    }
    update();
}

void PictureWidget::paintEvent(QPaintEvent* event) {
    {
        QPainter painter(this);
        const QRect inside = contentsRect();
        painter.fillRect(inside, background_);
        painter.setClipRect(inside);
        painter.drawImage(inside.topLeft(), image_);
    }
    QFrame::paintEvent(event);
}

void FrameWidget::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    const int lineY = fontMetrics().height() / 2;
    const QRect box = rect().adjusted(0, lineY, -1, -1);
    painter.setPen(palette().color(QPalette::Dark));
    painter.drawRect(box.adjusted(0, 0, -1, -1));
    painter.setPen(palette().color(QPalette::Light));
    painter.drawRect(box.adjusted(1, 1, 0, 0));
    if (caption_.isEmpty()) return;
    const QRect text(7, 0, fontMetrics().horizontalAdvance(caption_) + 4, fontMetrics().height());
    painter.fillRect(text, palette().color(QPalette::Window));
    painter.setPen(palette().color(QPalette::WindowText));
    painter.drawText(text, Qt::AlignCenter, caption_);
}

QWidget* CreateControlWidget(Control& control, QWidget* parent) {
    QWidget* widget = nullptr;
    switch (control.Kind()) {
        case ControlKind::Frame: widget = new FrameWidget(parent); break;
        case ControlKind::Label: widget = new QLabel(parent); break;
        case ControlKind::TextBox: {
            auto* edit = new QLineEdit(parent);
            edit->setTextMargins(0, 0, 0, 0);
            widget = edit;
            break;
        }
        case ControlKind::CheckBox: widget = new QCheckBox(parent); break;
        case ControlKind::OptionButton: {
            // The control decides which option is selected: no exclusivity of Qt's own.
            QAbstractButton* button;
            if (static_cast<const OptionButton&>(control).Graphical()) button = new QPushButton(parent);
            else button = new QRadioButton(parent);
            button->setCheckable(true);
            button->setAutoExclusive(false);
            widget = button;
            break;
        }
        case ControlKind::CommandButton: widget = new QPushButton(parent); break;
        case ControlKind::ListBox: widget = new QListWidget(parent); break;
        case ControlKind::PictureBox: widget = new PictureWidget(parent); break;
        case ControlKind::Line:
            widget = new QWidget(parent);
            widget->setAutoFillBackground(true);
            break;
        case ControlKind::Timer: return nullptr;
    }
    widget->setObjectName(QString::fromStdString(control.ObjectName()));
    return widget;
}

void SyncControlWidget(const Control& control, QWidget& widget) {
    // Children of a bordered picture are placed relative to the area inside its border.
    const Control* container = control.Container();
    const int inset = container && container->Kind() == ControlKind::PictureBox &&
                              static_cast<const PictureBox*>(container)->Border() ? 1 : 0;
    const Rect& r = control.Geometry();
    widget.setGeometry(r.left + inset, r.top + inset, r.width, r.height);
    widget.setHidden(!control.Visible());
    widget.setEnabled(control.Enabled());
    widget.setToolTip(Text(control.ToolTip()));

    switch (control.Kind()) {
        case ControlKind::Frame:
            static_cast<FrameWidget&>(widget).SetCaption(Text(static_cast<const Frame&>(control).Caption()));
            break;
        case ControlKind::Label:
            SyncLabel(static_cast<const Label&>(control), static_cast<QLabel&>(widget));
            break;
        case ControlKind::TextBox:
            SyncTextBox(static_cast<const TextBox&>(control), static_cast<QLineEdit&>(widget));
            break;
        case ControlKind::CheckBox: {
            const auto& box = static_cast<const CheckBox&>(control);
            auto& check = static_cast<QCheckBox&>(widget);
            check.setText(Text(box.Caption()));
            check.setChecked(box.Value() == 1);
            break;
        }
        case ControlKind::OptionButton: {
            const auto& option = static_cast<const OptionButton&>(control);
            auto& button = static_cast<QAbstractButton&>(widget);
            button.setText(Text(option.Caption()));
            button.setChecked(option.Value());
            break;
        }
        case ControlKind::CommandButton:
            static_cast<QPushButton&>(widget).setText(Text(static_cast<const CommandButton&>(control).Caption()));
            break;
        case ControlKind::ListBox: {
            const auto& list = static_cast<const ListBox&>(control);
            auto& items = static_cast<QListWidget&>(widget);
            items.clear();
            for (const std::string& item : list.Items()) items.addItem(Text(item));
            items.setCurrentRow(list.ListIndex());
            break;
        }
        case ControlKind::PictureBox:
            static_cast<PictureWidget&>(widget).Show(static_cast<const PictureBox&>(control));
            break;
        case ControlKind::Line:
            SetPaletteColour(widget, QPalette::Window, static_cast<const Line&>(control).BorderColor());
            break;
        case ControlKind::Timer: break;
    }
}

}  // namespace pelmora
