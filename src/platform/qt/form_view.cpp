#include "platform/qt/form_view.h"

#include <QAbstractButton>
#include <QCloseEvent>
#include <QLineEdit>
#include <QTimer>

#include "platform/qt/control_widgets.h"

namespace pelmora {

FormView::FormView(ControlHost& host, const std::string& caption, int clientWidth, int clientHeight) : host_(host) {
    setWindowTitle(QString::fromStdString(caption));
    setFixedSize(clientWidth, clientHeight);
    CreateWidgets();
    Sync();
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
        ConnectUserActions(*control, *widget);
    }
}

void FormView::ConnectUserActions(Control& control, QWidget& widget) {
    switch (control.Kind()) {
        case ControlKind::CheckBox:
            connect(static_cast<QAbstractButton*>(&widget), &QAbstractButton::clicked, this,
                    [this, box = static_cast<CheckBox*>(&control)](bool checked) {
                        Dispatch([box, checked] { box->SetValue(checked ? 1 : 0); });
                    });
            break;
        case ControlKind::OptionButton:
            connect(static_cast<QAbstractButton*>(&widget), &QAbstractButton::clicked, this,
                    [this, option = static_cast<OptionButton*>(&control)] { Dispatch([option] { option->Select(); }); });
            break;
        case ControlKind::CommandButton:
            connect(static_cast<QAbstractButton*>(&widget), &QAbstractButton::clicked, this,
                    [this, button = &control] { Dispatch([button] { button->RaiseClick(); }); });
            break;
        case ControlKind::TextBox:
            connect(static_cast<QLineEdit*>(&widget), &QLineEdit::textEdited, this,
                    [this, box = static_cast<TextBox*>(&control)](const QString& text) {
                        Dispatch([box, text] { box->SetText(text.toStdString()); });
                    });
            break;
        default: break;
    }
}

void FormView::Dispatch(const std::function<void()>& handler) {
    handler();
    Sync();
}

void FormView::Sync() {
    for (Control* control : host_.Controls()) {
        std::uint64_t& synced = syncedRevision_[control];
        if (synced == control->Revision()) continue;
        synced = control->Revision();
        if (control->Kind() == ControlKind::Timer) SyncTimer(static_cast<const Timer&>(*control));
        else SyncControlWidget(*control, *widgets_.at(control));
    }
    if (host_.Focused() && host_.FocusRevision() != syncedFocus_) {
        syncedFocus_ = host_.FocusRevision();
        widgets_.at(host_.Focused())->setFocus(Qt::OtherFocusReason);
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

void FormView::closeEvent(QCloseEvent* event) {
    if (onClose) onClose();
    event->accept();
}

bool FormView::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::MouseButtonDblClick) {
        const auto found = controlOfWidget_.find(watched);
        if (found != controlOfWidget_.end()) Dispatch([control = found->second] { control->RaiseDblClick(); });
    }
    return QWidget::eventFilter(watched, event);
}

}  // namespace pelmora
