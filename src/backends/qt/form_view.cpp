// SPDX-License-Identifier: MIT
#include "backends/qt/form_view.h"

#include <QAbstractButton>
#include <QAccessibleWidget>
#include <QCloseEvent>
#include <QComboBox>
#include <QDir>
#include <QDropEvent>
#include <QMimeData>
#include <QUrl>
#include <QGuiApplication>
#include <QLineEdit>
#include <QListWidget>
#include <QMouseEvent>
#include <QPlainTextEdit>
#include <QScrollBar>
#include <QTextDocument>
#include <QTimer>

#include "backends/qt/control_widgets.h"

namespace pelmora {

namespace {

int ButtonOf(Qt::MouseButton button) {
    switch (button) {
        case Qt::LeftButton: return kLeftButton;
        case Qt::RightButton: return kRightButton;
        case Qt::MiddleButton: return kMiddleButton;
        default: return 0;  // the framework knows no other buttons
    }
}

int ButtonsOf(Qt::MouseButtons buttons) {
    return (buttons & Qt::LeftButton ? kLeftButton : 0) | (buttons & Qt::RightButton ? kRightButton : 0) |
           (buttons & Qt::MiddleButton ? kMiddleButton : 0);
}

int ShiftOf(Qt::KeyboardModifiers modifiers) {
    return (modifiers & Qt::ShiftModifier ? 1 : 0) | (modifiers & Qt::ControlModifier ? 2 : 0) |
           (modifiers & Qt::AltModifier ? 4 : 0);
}

// The window is a window to accessibility tools (role frame on AT-SPI), not a plain
// client area as Qt makes of a bare top-level QWidget.
QAccessibleInterface* FormAccessible(const QString&, QObject* object) {
    auto* form = dynamic_cast<FormView*>(object);
    return form ? new QAccessibleWidget(form, QAccessible::Window) : nullptr;
}

}  // namespace

FormView::FormView(ControlHost& host, const std::string& caption, int clientWidth, int clientHeight,
                   const std::string& name)
    : host_(host), sync_(host, [this] { Sync(); }) {
    [[maybe_unused]] static const bool windowRoleInstalled = (QAccessible::installFactory(FormAccessible), true);
    setObjectName(QString::fromStdString(name));
    setAccessibleDescription(objectName());
    setWindowTitle(QString::fromStdString(caption));
    setFixedSize(clientWidth, clientHeight);
    CreateWidgets();
    Sync();
}

FormView::~FormView() {
    if (showsCustomPointer_) QGuiApplication::restoreOverrideCursor();
}

void FormView::CreateWidgets() {
    for (Control* control : host_.Controls()) {
        if (control->Kind() == ControlKind::Timer) {
            auto* timer = new QTimer(this);
            connect(timer, &QTimer::timeout, this,
                    [this, t = static_cast<Timer*>(control)] { Dispatch([t] { t->Fire(); }); });
            timers_[control] = timer;
            continue;
        }
        QWidget* parent = control->Container() ? widgets_.at(control->Container()) : this;
        QWidget* widget = CreateControlWidget(*control, parent);
        widgets_[control] = widget;
        controlOfWidget_[widget] = control;
        widget->installEventFilter(this);
        // A list's or a multi-line field's mouse input goes to its viewport.
        if (auto* area = qobject_cast<QAbstractScrollArea*>(widget)) {
            QWidget* viewport = area->viewport();
            viewport->setAttribute(Qt::WA_NoMousePropagation);
            viewport->installEventFilter(this);
            controlOfWidget_[viewport] = control;
            viewports_[control] = viewport;
        }
        ConnectUserActions(*control, *widget);
    }
}

void FormView::ConnectUserActions(Control& control, QWidget& widget) {
    switch (control.Kind()) {
        case ControlKind::CheckBox:
            connect(static_cast<QAbstractButton*>(&widget), &QAbstractButton::clicked, this,
                    [this, box = static_cast<CheckBox*>(&control)](bool checked) {
                        sync_.DispatchUserAction(*box, [box, checked] { box->SetValue(checked ? 1 : 0); });
                    });
            break;
        case ControlKind::OptionButton:
            connect(static_cast<QAbstractButton*>(&widget), &QAbstractButton::clicked, this,
                    [this, option = static_cast<OptionButton*>(&control)] {
                        sync_.DispatchUserAction(*option, [option] { option->Select(); });
                    });
            break;
        case ControlKind::CommandButton:
            connect(static_cast<QAbstractButton*>(&widget), &QAbstractButton::clicked, this,
                    [this, button = &control] { Dispatch([button] { button->RaiseClick(); }); });
            break;
        case ControlKind::TextBox:
            if (auto* lines = qobject_cast<QPlainTextEdit*>(&widget)) {
                auto* box = static_cast<TextBox*>(&control);
                connect(lines, &QPlainTextEdit::textChanged, this, [this, box, lines] {
                    const std::string text = FromShownLines(lines->document()->toRawText());
                    sync_.DispatchUserAction(*box, [box, &text] { box->SetText(text); });
                });
            } else {
                connect(static_cast<QLineEdit*>(&widget), &QLineEdit::textEdited, this,
                        [this, box = static_cast<TextBox*>(&control)](const QString& text) {
                            sync_.DispatchUserAction(*box, [box, text] { box->SetText(text.toStdString()); });
                        });
            }
            break;
        case ControlKind::ListBox: {
            auto* list = static_cast<QListWidget*>(&widget);
            auto* box = static_cast<ListBox*>(&control);
            connect(list, &QListWidget::currentRowChanged, this, [this, box](int row) { ChooseLine(*box, row); });
            // Qt reports a double click on a row after the first press selected it.
            connect(list, &QListWidget::itemDoubleClicked, this,
                    [this, box] { Dispatch([box] { box->RaiseDblClick(); }); });
            break;
        }
        case ControlKind::ComboBox:
            // Only a choice of the user's, by mouse, keys or wheel, not a change from code.
            connect(static_cast<QComboBox*>(&widget), &QComboBox::activated, this,
                    [this, box = static_cast<ComboBox*>(&control)](int index) { ChooseLine(*box, index); });
            break;
        case ControlKind::ScrollBar: {
            auto* scroll = static_cast<QScrollBar*>(&widget);
            auto* bar = static_cast<ScrollBar*>(&control);
            connect(scroll, &QAbstractSlider::sliderPressed, this, [bar] { bar->BeginDrag(); });
            // The thumb dragged: Scroll at every step, the value following at once.
            connect(scroll, &QAbstractSlider::sliderMoved, this, [this, bar](int position) {
                const std::int16_t value = FromSliderValue(*bar, position);
                sync_.DispatchUserAction(*bar, [bar, value] { bar->DragTo(value); });
            });
            connect(scroll, &QAbstractSlider::sliderReleased, this,
                    [this, bar] { sync_.DispatchUserAction(*bar, [bar] { bar->EndDrag(); }); });
            // An arrow, a page area, a key or the wheel: the new value raises Change. A
            // dragged thumb changes the value too, but has raised Scroll for it already;
            // a value the sync sets from the control comes with the signals blocked.
            connect(scroll, &QAbstractSlider::valueChanged, this, [this, bar, scroll](int position) {
                if (scroll->isSliderDown()) return;
                const std::int16_t value = FromSliderValue(*bar, position);
                sync_.DispatchUserAction(*bar, [bar, value] { bar->SetValue(value); });
            });
            break;
        }
        default: break;
    }
}

void FormView::Dispatch(const std::function<void()>& handler) { sync_.Dispatch(handler); }

void FormView::ChooseLine(ItemList& list, int index) {
    if (index >= 0) sync_.DispatchUserAction(list, [&list, index] { list.SetListIndex(index); });
}

void FormView::Sync() {
    const ViewWork work = sync_.Take();
    bool labelsChanged = false;
    for (const auto& [control, pointerChanged] : work.controls) {
        QWidget* widget = widgets_.at(control);
        SyncControlWidget(*control, *widget);
        if (pointerChanged) SyncControlPointer(*control, *widget);
        labelsChanged = labelsChanged || dynamic_cast<const CaptionedControl*>(control) != nullptr;
        // Moves without a button reach a widget only while it tracks the mouse. Tracking
        // that Qt's own widgets turned on for themselves is left alone.
        if (control->onDropFiles && !widget->acceptDrops()) widget->setAcceptDrops(true);
        if (control->onMouseMove) {
            widget->setMouseTracking(true);
            if (const auto viewport = viewports_.find(control); viewport != viewports_.end())
                viewport->second->setMouseTracking(true);
        }
    }
    // A field is named by the label beside it: a new caption renames the field too.
    if (labelsChanged)
        for (Control* control : host_.Controls())
            if (control->LabelledBy()) SyncAccessibility(*control, *widgets_.at(control));
    for (const Timer* timer : work.timersToStop) timers_.at(timer)->stop();
    for (const Timer* timer : work.timersToStart) timers_.at(timer)->start(timer->Interval());
    if (work.focus) widgets_.at(work.focus)->setFocus(Qt::OtherFocusReason);
    if (work.pointerChanged) SyncMousePointer(work.windowPointer);
    if (work.visibilityChanged) setVisible(host_.WindowVisible());
}

void FormView::SyncControlPointer(const Control& control, QWidget& widget) {
    const PointerImage* icon = control.MouseIcon();
    if (control.Pointer() == MousePointer::Default || (control.Pointer() == MousePointer::Custom && !icon)) {
        widget.unsetCursor();
    } else if (control.Pointer() == MousePointer::Custom) {
        auto cursor = cursors_.find(icon);
        if (cursor == cursors_.end()) cursor = cursors_.emplace(icon, ToQCursor(*icon)).first;
        widget.setCursor(cursor->second);
    } else {
        widget.setCursor(ToCursorShape(control.Pointer()));
    }
}

void FormView::SyncMousePointer(const PointerImage* custom) {
    // An application-wide override cursor beats the cursors Qt's own widgets set (the
    // I-beam of a field), and on X11 it is the cursor of the top-level window itself, which
    // the server keeps showing during a press-drag while the pointer is over other windows.
    if (custom) {
        const QCursor cursor = ToQCursor(*custom);
        if (showsCustomPointer_) QGuiApplication::changeOverrideCursor(cursor);
        else QGuiApplication::setOverrideCursor(cursor);
        showsCustomPointer_ = true;
    } else if (showsCustomPointer_) {
        QGuiApplication::restoreOverrideCursor();
        showsCustomPointer_ = false;
    }
}

void FormView::closeEvent(QCloseEvent* event) {
    if (onClose) onClose();
    event->accept();
}

bool FormView::eventFilter(QObject* watched, QEvent* event) {
    switch (event->type()) {
        case QEvent::MouseButtonPress:
        case QEvent::MouseButtonRelease:
        case QEvent::MouseButtonDblClick:
        case QEvent::MouseMove: RaiseMouseEvent(watched, static_cast<const QMouseEvent&>(*event)); break;
        case QEvent::DragEnter:
        case QEvent::DragMove:
        case QEvent::Drop:
            if (TakeDrop(watched, static_cast<QDropEvent&>(*event))) return true;
            break;
        default: break;
    }
    return QWidget::eventFilter(watched, event);
}

bool FormView::TakeDrop(QObject* watched, QDropEvent& event) {
    const auto found = controlOfWidget_.find(watched);
    if (found == controlOfWidget_.end() || !found->second->onDropFiles || !found->second->Enabled()) return false;
    // Anything may be dropped: what carries no file is told so by the control's handler.
    event.acceptProposedAction();
    if (event.type() != QEvent::Drop) return true;
    std::vector<std::string> files;
    if (const QMimeData* data = event.mimeData())
        for (const QUrl& url : data->urls())
            if (url.isLocalFile()) files.push_back(QDir::toNativeSeparators(url.toLocalFile()).toStdString());
    Control* control = found->second;
    Dispatch([control, &files] { control->RaiseDropFiles(files); });
    return true;
}

void FormView::RaiseMouseEvent(QObject* watched, const QMouseEvent& event) {
    const auto found = controlOfWidget_.find(watched);
    if (found == controlOfWidget_.end()) return;
    Control* control = found->second;
    // Relative to the control's widget, also from its viewport and outside it during a drag.
    const QWidget* widget = widgets_.at(control);
    const QPoint at = static_cast<QWidget*>(watched)->mapTo(widget, event.position().toPoint());
    const bool onControl = widget->rect().contains(at);
    MouseInput input{MouseAction::Move, ButtonOf(event.button()), ShiftOf(event.modifiers()), at.x(), at.y(),
                     onControl};
    switch (event.type()) {
        case QEvent::MouseButtonPress: input.action = MouseAction::Press; break;
        // The release goes to the widget pressed, wherever it is.
        case QEvent::MouseButtonRelease: input.action = MouseAction::Release; break;
        // The second press of a double click reaches a widget as the double click itself,
        // and its release follows.
        case QEvent::MouseButtonDblClick: input.action = MouseAction::DoubleClick; break;
        case QEvent::MouseMove: input.button = ButtonsOf(event.buttons()); break;
        default: return;
    }
    sync_.RaiseMouse(*control, input);
}

}  // namespace pelmora
