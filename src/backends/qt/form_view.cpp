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
    : host_(host) {
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
            connect(timer, &QTimer::timeout, this, [this, t = static_cast<Timer*>(control)] { Dispatch([t] { t->Fire(); }); });
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
                        DispatchUserAction(*box, [box, checked] { box->SetValue(checked ? 1 : 0); });
                    });
            break;
        case ControlKind::OptionButton:
            connect(static_cast<QAbstractButton*>(&widget), &QAbstractButton::clicked, this,
                    [this, option = static_cast<OptionButton*>(&control)] {
                        DispatchUserAction(*option, [option] { option->Select(); });
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
                    DispatchUserAction(*box, [box, &text] { box->SetText(text); });
                });
            } else {
                connect(static_cast<QLineEdit*>(&widget), &QLineEdit::textEdited, this,
                        [this, box = static_cast<TextBox*>(&control)](const QString& text) {
                            DispatchUserAction(*box, [box, text] { box->SetText(text.toStdString()); });
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
                DispatchUserAction(*bar, [bar, value] { bar->DragTo(value); });
            });
            connect(scroll, &QAbstractSlider::sliderReleased, this,
                    [this, bar] { DispatchUserAction(*bar, [bar] { bar->EndDrag(); }); });
            // An arrow, a page area, a key or the wheel: the new value raises Change. A
            // dragged thumb changes the value too, but has raised Scroll for it already;
            // a value the sync sets from the control comes with the signals blocked.
            connect(scroll, &QAbstractSlider::valueChanged, this, [this, bar, scroll](int position) {
                if (scroll->isSliderDown()) return;
                const std::int16_t value = FromSliderValue(*bar, position);
                DispatchUserAction(*bar, [bar, value] { bar->SetValue(value); });
            });
            break;
        }
        default: break;
    }
}

void FormView::Dispatch(const std::function<void()>& handler) {
    handler();
    Sync();
}

void FormView::DispatchUserAction(Control& control, const std::function<void()>& handler) {
    handler();
    syncedRevision_[&control] = ~control.Revision();
    Sync();
}

void FormView::ChooseLine(ItemList& list, int index) {
    if (index >= 0) DispatchUserAction(list, [&list, index] { list.SetListIndex(index); });
}

void FormView::Sync() {
    bool labelsChanged = false;
    for (Control* control : host_.Controls()) {
        std::uint64_t& synced = syncedRevision_[control];
        if (synced == control->Revision()) continue;
        synced = control->Revision();
        if (control->Kind() == ControlKind::Timer) {
            SyncTimer(static_cast<const Timer&>(*control));
            continue;
        }
        QWidget* widget = widgets_.at(control);
        SyncControlWidget(*control, *widget);
        SyncControlPointer(*control, *widget);
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
    if (host_.Focused() && host_.FocusRevision() != syncedFocus_) {
        syncedFocus_ = host_.FocusRevision();
        widgets_.at(host_.Focused())->setFocus(Qt::OtherFocusReason);
    }
    SyncMousePointer();
    if (host_.WindowRevision() != syncedWindow_) {
        syncedWindow_ = host_.WindowRevision();
        setVisible(host_.WindowVisible());
    }
}

void FormView::SyncTimer(const Timer& timer) {
    QTimer* qtimer = timers_.at(&timer);
    std::uint64_t& run = timerRun_[&timer];
    if (!timer.Enabled() || timer.Interval() <= 0) {
        qtimer->stop();
    } else if (run != timer.Run() || !qtimer->isActive()) {
        qtimer->start(timer.Interval());  // a new run counts its interval from now
    }
    run = timer.Run();
}

void FormView::SyncControlPointer(const Control& control, QWidget& widget) {
    const std::pair wanted{control.Pointer(), control.MouseIcon()};
    const auto shown = shownPointers_.try_emplace(&control, MousePointer::Default, nullptr).first;
    if (shown->second == wanted) return;
    shown->second = wanted;
    if (wanted.first == MousePointer::Default) {
        widget.unsetCursor();
    } else if (wanted.first == MousePointer::Custom) {
        if (!wanted.second) {
            widget.unsetCursor();
            return;
        }
        auto cursor = cursors_.find(wanted.second);
        if (cursor == cursors_.end()) cursor = cursors_.emplace(wanted.second, ToQCursor(*wanted.second)).first;
        widget.setCursor(cursor->second);
    } else {
        widget.setCursor(ToCursorShape(wanted.first));
    }
}

void FormView::SyncMousePointer() {
    if (host_.PointerRevision() == syncedPointer_) return;
    syncedPointer_ = host_.PointerRevision();
    const PointerImage& icon = host_.MouseIcon();
    const bool custom =
        host_.Pointer() == MousePointer::Custom && icon.image.Width() > 0 && icon.image.Height() > 0;
    // An application-wide override cursor beats the cursors Qt's own widgets set (the
    // I-beam of a field), and on X11 it is the cursor of the top-level window itself, which
    // the server keeps showing during a press-drag while the pointer is over other windows.
    if (custom) {
        const QCursor cursor = ToQCursor(icon);
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
    // The second press of a double click reaches a widget as the double click itself, and
    // its release follows. Every left press starts afresh, so a release that went elsewhere
    // (to a dialog the double click opened) leaves nothing behind.
    bool endsDoubleClick = false;
    if (event.button() == Qt::LeftButton) {
        if (event.type() == QEvent::MouseButtonRelease) endsDoubleClick = leftDoubleClicked_;
        leftDoubleClicked_ = event.type() == QEvent::MouseButtonDblClick;
    }
    if (!control->Enabled()) return;
    // Relative to the control's widget, also from its viewport and outside it during a drag.
    const QPoint at = static_cast<QWidget*>(watched)->mapTo(widgets_.at(control), event.position().toPoint());
    MouseEvent mouse{0, ShiftOf(event.modifiers()), at.x(), at.y()};
    switch (event.type()) {
        case QEvent::MouseButtonPress:
            mouse.button = ButtonOf(event.button());
            if (mouse.button != 0 && control->onMouseDown)
                Dispatch([control, mouse] { control->RaiseMouseDown(mouse); });
            break;
        case QEvent::MouseButtonRelease: {
            mouse.button = ButtonOf(event.button());
            // A label is clicked by a left press and release on it (the release goes to the
            // widget pressed, wherever it is); the release ending a double click is no click.
            const bool click = control->Kind() == ControlKind::Label && event.button() == Qt::LeftButton &&
                               !endsDoubleClick && widgets_.at(control)->rect().contains(at);
            if (mouse.button != 0 && control->onMouseUp) Dispatch([control, mouse] { control->RaiseMouseUp(mouse); });
            if (click && control->onClick) Dispatch([control] { control->RaiseClick(); });
            break;
        }
        case QEvent::MouseMove:
            mouse.button = ButtonsOf(event.buttons());
            if (control->onMouseMove) Dispatch([control, mouse] { control->RaiseMouseMove(mouse); });
            break;
        case QEvent::MouseButtonDblClick:
            // A list raises DblClick only for a row, from its own signal.
            if (control->Kind() != ControlKind::ListBox && control->onDblClick)
                Dispatch([control] { control->RaiseDblClick(); });
            break;
        default: break;
    }
}

}  // namespace pelmora
