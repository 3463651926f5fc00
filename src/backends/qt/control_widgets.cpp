// SPDX-License-Identifier: MIT
#include "backends/qt/control_widgets.h"

#include <QCheckBox>
#include <QIcon>
#include <QImage>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPaintEvent>
#include <QPainter>
#include <QPixmap>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalBlocker>
#include <QTextDocument>

#include <algorithm>

namespace pelmora {

QColor ToQColor(std::int32_t colour) { return QColor(colour & 0xFF, (colour >> 8) & 0xFF, (colour >> 16) & 0xFF); }

namespace {
QRgb ToQRgb(std::int32_t colour) { return qRgb(colour & 0xFF, (colour >> 8) & 0xFF, (colour >> 16) & 0xFF); }
}  // namespace

QImage ConvertPart(const Surface& surface, const QRect& part, bool transparent) {
    QImage image(part.size(), transparent ? QImage::Format_ARGB32_Premultiplied : QImage::Format_RGB32);
    for (int y = 0; y < part.height(); ++y) {
        const std::int32_t* source = surface.Row(part.top() + y) + part.left();
        auto* target = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < part.width(); ++x) target[x] = transparent && source[x] == -1 ? 0 : ToQRgb(source[x]);
    }
    return image;
}

Surface ToSurface(const QImage& image) {
    const QImage rgb = image.convertToFormat(QImage::Format_RGB32);
    Surface picture(rgb.width(), rgb.height());
    for (int y = 0; y < rgb.height(); ++y) {
        const auto* source = reinterpret_cast<const QRgb*>(rgb.constScanLine(y));
        std::int32_t* target = picture.Row(y);
        for (int x = 0; x < rgb.width(); ++x)
            target[x] = qRed(source[x]) | qGreen(source[x]) << 8 | qBlue(source[x]) << 16;
    }
    return picture;
}

namespace {

QString Text(const std::string& text) { return QString::fromStdString(text); }

// Draws the part of surface, placed with its top-left at origin, that lies in clip.
void DrawSurface(QPainter& painter, const Surface& surface, QPoint origin, const QRect& clip, bool transparent) {
    const QRect part = (QRect(origin, QSize(surface.Width(), surface.Height())) & clip).translated(-origin);
    if (part.isEmpty()) return;
    painter.drawImage(origin + part.topLeft(), ConvertPart(surface, part, transparent));
}

void SetPaletteColour(QWidget& widget, QPalette::ColorRole role, std::int32_t colour) {
    const QColor wanted = ToQColor(colour);
    if (widget.palette().color(role) == wanted) return;
    QPalette palette = widget.palette();
    palette.setColor(role, wanted);
    widget.setPalette(palette);
}

// A back colour of -1 lets the window behind the widget show through.
void SyncBackColour(const Control& control, QWidget& widget) {
    widget.setAutoFillBackground(control.BackColor() >= 0);
    if (control.BackColor() >= 0) SetPaletteColour(widget, QPalette::Window, control.BackColor());
}

// The colours of a list's lines: those of a list box, and of a combo box's open list.
void SyncLineColours(const Control& control, QWidget& widget) {
    SetPaletteColour(widget, QPalette::Base, control.BackColor());
    SetPaletteColour(widget, QPalette::Text, control.ForeColor());
}

// Brings the lines a list or combo box widget shows (its clear() and addItems()) from
// shown to items: appends when lines were only added, otherwise starts again.
template <typename LinesWidget>
void ShowLines(LinesWidget& widget, std::vector<std::string>& shown, const std::vector<std::string>& items) {
    if (items == shown) return;
    const bool onlyAppended = items.size() > shown.size() && std::equal(shown.begin(), shown.end(), items.begin());
    widget.setUpdatesEnabled(false);
    if (!onlyAppended) {
        widget.clear();
        shown.clear();
    }
    QStringList lines;
    lines.reserve(static_cast<qsizetype>(items.size() - shown.size()));
    for (std::size_t i = shown.size(); i < items.size(); ++i) lines.append(Text(items[i]));
    widget.addItems(lines);
    shown = items;
    widget.setUpdatesEnabled(true);
}

void SyncLabel(const Label& label, QLabel& widget) {
    widget.setText(Text(label.Caption()));
    widget.setFrameStyle(label.Border() ? (QFrame::Box | QFrame::Plain) : QFrame::NoFrame);
    widget.setAlignment(label.TextAlignment() == Alignment::Centre ? Qt::AlignCenter
                                                                   : (Qt::AlignLeft | Qt::AlignVCenter));
    SyncBackColour(label, widget);
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

void SyncMultiLineTextBox(const TextBox& box, QPlainTextEdit& widget) {
    // Replacing the text moves the caret to the start: only when it really differs.
    if (FromShownLines(widget.document()->toRawText()) != box.Text()) {
        const QSignalBlocker quiet(&widget);  // a text set from the control is no user edit
        widget.setPlainText(ToShownLines(box.Text()));
    }
    widget.setReadOnly(box.Locked());
    SetPaletteColour(widget, QPalette::Base, box.BackColor());
    SetPaletteColour(widget, QPalette::Text, box.ForeColor());
}

// The caption and, when the button has one, its picture as the icon at its own size. The
// icon is made again only for a new picture (a button whose selection changed keeps it).
void SyncButton(const ButtonControl& control, QAbstractButton& button) {
    button.setText(Text(control.Caption()));
    const Surface& picture = control.Picture();
    const QVariant shown = button.property("pelmoraPictureRevision");
    const auto revision = static_cast<qulonglong>(control.PictureRevision());
    if (shown.isValid() && shown.toULongLong() == revision) return;
    button.setProperty("pelmoraPictureRevision", revision);
    if (picture.Width() <= 0 || picture.Height() <= 0) {
        button.setIcon(QIcon());
        return;
    }
    const QRect whole(0, 0, picture.Width(), picture.Height());
    button.setIcon(QIcon(QPixmap::fromImage(ConvertPart(picture, whole, true))));
    button.setIconSize(whole.size());
}

void SyncScrollBar(const ScrollBar& bar, QScrollBar& widget) {
    // A range or a value set from the control is no user action: nothing goes back to it.
    const QSignalBlocker quiet(&widget);
    widget.setRange(ToSliderValue(bar, bar.Min()), ToSliderValue(bar, bar.Max()));
    widget.setValue(ToSliderValue(bar, bar.Value()));
    widget.setSingleStep(bar.SmallChange());
    widget.setPageStep(bar.LargeChange());
}

// Qt's own inner widgets of a control's widget (a field's viewport, its scroll bars and
// their containers) appear to accessibility tools too: each gets an id made of the path
// from the control's id, "Text5/qt_scrollarea_vcontainer/QScrollBar". Called when the
// widget is new, before any control's widget is placed inside it.
void DescribeParts(QWidget& widget, const QString& id) {
    for (QWidget* part : widget.findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
        const QString partName =
            part->objectName().isEmpty() ? QString::fromLatin1(part->metaObject()->className()) : part->objectName();
        const QString partId = id + '/' + partName;
        part->setAccessibleDescription(partId);
        DescribeParts(*part, partId);
    }
}

}  // namespace

void SyncAccessibility(const Control& control, QWidget& widget) {
    // Set only on a change: each set sends an accessibility event over the bus.
    const QString description = Text(control.ObjectName());
    if (widget.accessibleDescription() != description) widget.setAccessibleDescription(description);
    const QString name = Text(control.ReadableName());
    if (widget.accessibleName() != name) widget.setAccessibleName(name);
}

QCursor ToQCursor(const PointerImage& pointer) {
    const Surface& image = pointer.image;
    const QPixmap pixmap = QPixmap::fromImage(ConvertPart(image, QRect(0, 0, image.Width(), image.Height()), true));
    // Qt reads a hot spot of -1 as "the centre": keep it inside the image instead.
    const int hotX = std::clamp(pointer.hotX, 0, std::max(image.Width() - 1, 0));
    const int hotY = std::clamp(pointer.hotY, 0, std::max(image.Height() - 1, 0));
    return QCursor(pixmap, hotX, hotY);
}

Qt::CursorShape ToCursorShape(MousePointer pointer) {
    switch (pointer) {
        case MousePointer::SizeAll: return Qt::SizeAllCursor;
        case MousePointer::SizeNESW: return Qt::SizeBDiagCursor;
        case MousePointer::SizeNS: return Qt::SizeVerCursor;
        case MousePointer::SizeNWSE: return Qt::SizeFDiagCursor;
        case MousePointer::SizeWE: return Qt::SizeHorCursor;
        case MousePointer::Default:
        case MousePointer::Custom: break;
    }
    return Qt::ArrowCursor;
}

QString ToShownLines(const std::string& text) {
    QString lines = Text(text);
    lines.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    return lines;
}

std::string FromShownLines(const QString& text) {
    // The document separates paragraphs with U+2029; Shift+Return puts U+2028 inside one.
    QString lines = text;
    lines.replace(QChar::ParagraphSeparator, QStringLiteral("\r\n"));
    lines.replace(QChar::LineSeparator, QStringLiteral("\r\n"));
    return lines.toStdString();
}

void PictureWidget::Show(const PictureBox& picture) {
    picture_ = &picture;
    const int style = picture.Border() ? (QFrame::Panel | QFrame::Sunken) : QFrame::NoFrame;
    if (frameStyle() != style) setFrameStyle(style);
    const PictureDamage damage = picture.TakeDamage();
    if (damage.whole) {
        update();
    } else if (damage.area.width > 0 && damage.area.height > 0) {
        const Rect& area = damage.area;
        update(QRect(area.left, area.top, area.width, area.height).translated(contentsRect().topLeft()));
    }
}

ShapeWidget::ShapeWidget(QWidget* parent) : QWidget(parent) {
    // A shape takes no mouse input: what lies under it gets the clicks.
    setAttribute(Qt::WA_TransparentForMouseEvents);
}

void ShapeWidget::Show(const Shape& shape) {
    shape_ = &shape;
    update();
}

void ShapeWidget::paintEvent(QPaintEvent*) {
    if (!shape_) return;
    QPainter painter(this);
    if (shape_->Filled()) {
        painter.fillRect(rect(), ToQColor(shape_->BackColor()));
        return;
    }
    const QColor border = ToQColor(shape_->BorderColor());
    const int w = width(), h = height();
    painter.fillRect(0, 0, w, 1, border);
    painter.fillRect(0, h - 1, w, 1, border);
    painter.fillRect(0, 0, 1, h, border);
    painter.fillRect(w - 1, 0, 1, h, border);
}

void PictureWidget::paintEvent(QPaintEvent* event) {
    if (picture_) {
        QPainter painter(this);
        const QRect inside = contentsRect();
        // Only what can be seen: a picture larger than its container (the editor's 8:1
        // display) is asked to paint all of itself when it is rendered into an image.
        const QRect dirty = event->rect() & inside & visibleRegion().boundingRect();
        painter.setClipRect(dirty);
        painter.fillRect(
            dirty, picture_->BackColor() >= 0 ? ToQColor(picture_->BackColor()) : palette().color(QPalette::Window));
        const Surface& shown = picture_->Picture();
        if (shown.Width() > 0 && shown.Height() > 0) {
            const QPoint centred(inside.left() + CentredOffset(inside.width(), shown.Width()),
                                 inside.top() + CentredOffset(inside.height(), shown.Height()));
            DrawSurface(painter, shown, centred, dirty, true);
        }
        DrawSurface(painter, picture_->Image(), inside.topLeft(), dirty, false);
    }
    QFrame::paintEvent(event);
}

ListWidget::ListWidget(QWidget* parent) : QListWidget(parent) {
    setSelectionMode(QAbstractItemView::SingleSelection);
    setUniformItemSizes(true);  // every row one line high: long lists lay out at once
}

void ListWidget::Show(const ListBox& list) {
    const QSignalBlocker quiet(this);  // a selection set from the control is no user action
    ShowLines(*this, shownItems_, list.Items());
    if (currentRow() != list.ListIndex()) setCurrentRow(list.ListIndex());
    if (list.ListIndex() < 0 && !selectedItems().isEmpty()) clearSelection();
}

ComboWidget::ComboWidget(QWidget* parent) : QComboBox(parent) {
    // Qt makes the popup list when it first opens; made now, it is described with the
    // combo box's other parts and accessibility tools find it by its id.
    view();
}

void ComboWidget::Show(const ComboBox& combo) {
    const QSignalBlocker quiet(this);  // a selection set from the control is no user action
    ShowLines(*this, shownItems_, combo.Items());
    if (currentIndex() != combo.ListIndex()) setCurrentIndex(combo.ListIndex());  // -1 shows no line
}

void ScrollBarWidget::keyPressEvent(QKeyEvent* event) {
    const int key = event->key();
    if (orientation() == Qt::Horizontal && (key == Qt::Key_Left || key == Qt::Key_Right)) {
        // The minimum lies at the left, or at the right in a right-to-left layout.
        const bool towardsMinimum = (key == Qt::Key_Left) != isRightToLeft();
        triggerAction(towardsMinimum ? SliderSingleStepSub : SliderSingleStepAdd);
        return;
    }
    QScrollBar::keyPressEvent(event);
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
        case ControlKind::TextBox:
            if (static_cast<const TextBox&>(control).MultiLine()) {
                auto* edit = new QPlainTextEdit(parent);
                edit->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
                edit->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
                widget = edit;
            } else {
                auto* edit = new QLineEdit(parent);
                edit->setTextMargins(0, 0, 0, 0);
                widget = edit;
            }
            break;
        case ControlKind::CheckBox:
            if (static_cast<const CheckBox&>(control).Graphical()) {
                auto* button = new QPushButton(parent);
                button->setCheckable(true);
                widget = button;
            } else {
                widget = new QCheckBox(parent);
            }
            break;
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
        case ControlKind::ListBox: widget = new ListWidget(parent); break;
        case ControlKind::ComboBox: widget = new ComboWidget(parent); break;
        case ControlKind::PictureBox: widget = new PictureWidget(parent); break;
        case ControlKind::Shape: widget = new ShapeWidget(parent); break;
        case ControlKind::Line:
            widget = new QWidget(parent);
            widget->setAutoFillBackground(true);
            // A line takes no mouse input: what lies under it gets the clicks.
            widget->setAttribute(Qt::WA_TransparentForMouseEvents);
            break;
        case ControlKind::ScrollBar: {
            const bool horizontal =
                static_cast<const ScrollBar&>(control).Direction() == ScrollBar::Orientation::Horizontal;
            auto* bar = new ScrollBarWidget(horizontal ? Qt::Horizontal : Qt::Vertical, parent);
            // A scroll bar is a tab stop that a click focuses, so the arrow keys move it.
            bar->setFocusPolicy(Qt::StrongFocus);
            widget = bar;
            break;
        }
        case ControlKind::Timer: return nullptr;
    }
    widget->setObjectName(QString::fromStdString(control.ObjectName()));
    DescribeParts(*widget, widget->objectName());
    // A control's mouse events are its own: an unhandled one does not reach its container.
    widget->setAttribute(Qt::WA_NoMousePropagation);
    return widget;
}

void SyncControlWidget(const Control& control, QWidget& widget) {
    // Children of a bordered picture are placed relative to the area inside its border.
    const Control* container = control.Container();
    const int inset =
        container && container->Kind() == ControlKind::PictureBox && static_cast<const PictureBox*>(container)->Border()
            ? 1
            : 0;
    const Rect& r = control.Geometry();
    widget.setGeometry(r.left + inset, r.top + inset, r.width, r.height);
    widget.setHidden(!control.Visible());
    widget.setEnabled(control.Enabled());
    widget.setToolTip(Text(control.ToolTip()));
    SyncAccessibility(control, widget);

    switch (control.Kind()) {
        case ControlKind::Frame:
            static_cast<FrameWidget&>(widget).SetCaption(Text(static_cast<const Frame&>(control).Caption()));
            break;
        case ControlKind::Label: SyncLabel(static_cast<const Label&>(control), static_cast<QLabel&>(widget)); break;
        case ControlKind::TextBox: {
            const auto& box = static_cast<const TextBox&>(control);
            if (auto* lines = qobject_cast<QPlainTextEdit*>(&widget)) SyncMultiLineTextBox(box, *lines);
            else SyncTextBox(box, static_cast<QLineEdit&>(widget));
            break;
        }
        case ControlKind::CheckBox: {
            const auto& box = static_cast<const CheckBox&>(control);
            auto& button = static_cast<QAbstractButton&>(widget);
            SyncButton(box, button);
            button.setChecked(box.Value() == 1);
            break;
        }
        case ControlKind::OptionButton: {
            const auto& option = static_cast<const OptionButton&>(control);
            auto& button = static_cast<QAbstractButton&>(widget);
            SyncButton(option, button);
            button.setChecked(option.Value());
            break;
        }
        case ControlKind::CommandButton:
            SyncButton(static_cast<const CommandButton&>(control), static_cast<QAbstractButton&>(widget));
            break;
        case ControlKind::ListBox: {
            auto& list = static_cast<ListWidget&>(widget);
            SyncLineColours(control, list);
            list.Show(static_cast<const ListBox&>(control));
            break;
        }
        case ControlKind::ComboBox: {
            auto& combo = static_cast<ComboWidget&>(widget);
            SyncLineColours(control, combo);
            // The closed box is drawn as a button: in the control's colours too.
            SetPaletteColour(combo, QPalette::Button, control.BackColor());
            SetPaletteColour(combo, QPalette::ButtonText, control.ForeColor());
            combo.Show(static_cast<const ComboBox&>(control));
            break;
        }
        case ControlKind::PictureBox:
            static_cast<PictureWidget&>(widget).Show(static_cast<const PictureBox&>(control));
            break;
        case ControlKind::Line:
            SetPaletteColour(widget, QPalette::Window, static_cast<const Line&>(control).BorderColor());
            break;
        case ControlKind::Shape: static_cast<ShapeWidget&>(widget).Show(static_cast<const Shape&>(control)); break;
        case ControlKind::ScrollBar:
            SyncScrollBar(static_cast<const ScrollBar&>(control), static_cast<QScrollBar&>(widget));
            break;
        case ControlKind::Timer: break;
    }
}

}  // namespace pelmora
